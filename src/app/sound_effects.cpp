#include "app/sound_effects.h"

#include <QEventLoop>
#include <QTimer>

namespace quorlin {

// Sounds come with the sound player; until then they are silent.
void QtSoundEffects::PlayTone(int, int) {}

void QtSoundEffects::PlayPreset(int) {}

// A local event loop handles the user's clicks meanwhile and, unlike polling, leaves the
// processor idle while it waits.
void QtSoundEffects::Delay(int units) {
  QEventLoop waiting;
  QTimer::singleShot(static_cast<int>(static_cast<qint64>(units) * 864 / 10), &waiting,
                     &QEventLoop::quit);
  waiting.exec();
}

}  // namespace quorlin
