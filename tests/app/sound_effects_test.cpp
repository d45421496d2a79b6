// The real pause after a sound keeps the window answering while it lasts.
#include "app/sound_effects.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace quorlin {
namespace {

TEST(QtSoundEffectsDelay, HandlesEventsThatArriveWhileItWaits) {
  QtSoundEffects sounds;
  bool clickHandled = false;
  QTimer::singleShot(0, [&] { clickHandled = true; });
  sounds.Delay(1);
  EXPECT_TRUE(clickHandled);
}

}  // namespace
}  // namespace quorlin
