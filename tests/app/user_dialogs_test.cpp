// The real dialogs' wait keeps the window answering while it lasts.
#include "app/user_dialogs.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace quorlin {
namespace {

TEST(QtUserDialogsDelay, HandlesEventsThatArriveWhileItWaits) {
  QtUserDialogs dialogs;
  bool clickHandled = false;
  QTimer::singleShot(0, [&] { clickHandled = true; });
  dialogs.Delay(1);
  EXPECT_TRUE(clickHandled);
}

}  // namespace
}  // namespace quorlin
