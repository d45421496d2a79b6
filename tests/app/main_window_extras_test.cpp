// The main window's closing tune, its help and its update check.
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <set>

#include "app/context_help_key.h"
#include "app/help_topics.h"
#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

using MainWindowExtrasTest = WindowTest;

// The help-context numbers that `window` and its controls and menu items carry.
std::set<int> CarriedNumbers(const QWidget& window) {
  std::set<int> carried{window.property("helpContext").toInt()};
  for (QObject* object : window.findChildren<QObject*>()) {
    const QVariant number = object->property("helpContext");
    if (number.isValid()) carried.insert(number.toInt());
  }
  return carried;
}

void ExpectATopicForEach(const std::set<int>& numbers) {
  for (int number : numbers) {
    EXPECT_NE(HelpPageFor(kHelpContents), HelpPageFor(number)) << number << " has no topic";
  }
}

TEST_F(MainWindowExtrasTest, CloseWithSoundsPlaysTheClimbWaitsAndCloses) {
  Start();
  Item("mnuSounds")->trigger();
  Click("cmdClose");
  EXPECT_EQ(std::vector<int>{12}, sounds.presets);
  EXPECT_EQ(std::vector<int>{20}, sounds.delays);
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(std::filesystem::exists(program.File("Quorlin.INI")));
}

// The wait after the tune handles input; closing again meanwhile must not close the window
// under the first Close, nor play the tune twice.
TEST_F(MainWindowExtrasTest, ClosingAgainDuringTheTunesWaitClosesOnlyOnceAfterIt) {
  Start();
  Item("mnuSounds")->trigger();
  bool visibleAfterSecondClose = false;
  sounds.duringDelay = [&] {
    sounds.duringDelay = nullptr;
    Click("cmdClose");
    Item("mnuExit")->trigger();
    window->close();
    visibleAfterSecondClose = window->isVisible();
  };
  Click("cmdClose");
  EXPECT_TRUE(visibleAfterSecondClose);
  EXPECT_EQ(std::vector<int>{12}, sounds.presets);
  EXPECT_EQ(std::vector<int>{20}, sounds.delays);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowExtrasTest, WithSoundsOffNothingIsEverQueued) {
  Start(DataFile("a.csv", "x,y\r\n1,2\r\n"));
  dialogs.Expect(BoxKind::Ask, true);
  Click("cmdRefresh");
  Click("cmdClose");
  EXPECT_TRUE(sounds.presets.empty());
  EXPECT_TRUE(sounds.tones.empty());
  EXPECT_TRUE(sounds.delays.empty());
}

TEST_F(MainWindowExtrasTest, ContextHelpOpensTheContentsAndF1TheTopicAtHand) {
  Start();
  ContextHelpKey key(launches);
  qApp->installEventFilter(&key);
  Item("mnuContextHelp")->trigger();
  QTest::keyClick(Find<QWidget>("txtRows"), Qt::Key_F1);
  QTest::keyClick(Find<QWidget>("pnlMain"), Qt::Key_F1);
  QWidget unnumbered;
  QTest::keyClick(&unnumbered, Qt::Key_F1);
  qApp->removeEventFilter(&key);
  EXPECT_EQ((std::vector<int>{kHelpContents, 280, kHelpMainWindow, kHelpContents}),
            launches.helpContexts);
  auto* options = Find<QMenu>("mnuOptions");
  options->setActiveAction(Item("mnuSounds"));
  EXPECT_EQ(970, HelpContextAt(options));
}

TEST_F(MainWindowExtrasTest, EveryControlAndMenuItemCarriesANumberWithATopic) {
  const int kWindowAndMenuNumbers[] = {100, 590, 600, 610, 630, 640, 650,  670,  680,  700,
                                       710, 720, 730, 750, 760, 770, 780,  790,  800,  810,
                                       820, 830, 840, 850, 860, 870, 880,  890,  900,  910,
                                       930, 940, 960, 970, 980, 990, 1000, 1010, 1020, 1030};
  Start();
  for (const ControlHelp& control : MainWindowControlHelp()) {
    EXPECT_EQ(control.context, Find<QWidget>(control.objectName)->property("helpContext").toInt());
  }
  const std::set<int> carried = CarriedNumbers(*window);
  for (int number : kWindowAndMenuNumbers) EXPECT_TRUE(carried.count(number)) << number;
  ExpectATopicForEach(carried);
}

TEST_F(MainWindowExtrasTest, CheckForUpdatesOpensTheUpdateDialogWithItsHelp) {
  Start();
  QString caption;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(nullptr, dialog);
    caption = dialog->windowTitle();
    EXPECT_EQ(6u, CarriedNumbers(*dialog).size());
    ExpectATopicForEach(CarriedNumbers(*dialog));
    dialog->close();
  });
  Item("mnuCheckUpdates")->trigger();
  EXPECT_EQ("Check for Application Update", caption);
  EXPECT_TRUE(std::filesystem::exists(program.File("Settings.ini")));
}

}  // namespace
}  // namespace quorlin::testing
