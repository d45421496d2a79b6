#include "app/sound_effects.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "extras/beeper.h"
#include "extras/tone_output.h"

namespace quorlin {

QtSoundEffects::QtSoundEffects() = default;

QtSoundEffects::~QtSoundEffects() = default;

TbtBeeper& QtSoundEffects::Player() {
  if (!player_) player_ = std::make_unique<TbtBeeper>(OpenToneOutput());
  return *player_;
}

void QtSoundEffects::PlayTone(int hz, int ms) {
  Player().PlayTone(static_cast<std::uint16_t>(std::clamp(hz, 0, 0xFFFF)), ms);
}

void QtSoundEffects::PlayPreset(int tune) { Player().PlayPreset(tune); }

// A local event loop handles the user's clicks meanwhile and, unlike polling, leaves the
// processor idle while it waits.
void QtSoundEffects::Delay(int units) {
  QEventLoop waiting;
  QTimer::singleShot(static_cast<int>(static_cast<qint64>(units) * 864 / 10), &waiting,
                     &QEventLoop::quit);
  waiting.exec();
}

}  // namespace quorlin
