// Every help-context number opens a page that exists, and F1 finds the number at hand.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTest>

#include "app/context_help_key.h"
#include "app/help_topics.h"
#include "app/help_window.h"
#include "app/launcher.h"
#include "app/scripted_dialogs.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

const std::string kHelpFolder = QUORLIN_TEST_DATA "/../help/";

bool HasTopic(int context) {
  for (const HelpTopic& topic : HelpTopics()) {
    if (topic.context == context) return true;
  }
  return false;
}

TEST(HelpTopics, EveryNumberOpensAPageThatExistsAtAnAnchorItHas) {
  for (const HelpTopic& topic : HelpTopics()) {
    const std::string page = topic.page;
    const std::size_t hash = page.find('#');
    const std::string file = kHelpFolder + page.substr(0, hash);
    ASSERT_TRUE(std::filesystem::is_regular_file(file)) << topic.context << ": " << page;
    if (hash != std::string::npos) {
      const std::string anchor = "id=\"" + page.substr(hash + 1) + "\"";
      EXPECT_NE(std::string::npos, ReadBytes(file).find(anchor)) << topic.context << ": " << page;
    }
  }
}

TEST(HelpTopics, EveryNumberOfTheWindowsHasATopicOfItsOwn) {
  for (const ControlHelp& control : MainWindowControlHelp()) {
    EXPECT_TRUE(HasTopic(control.context)) << control.objectName;
  }
  for (int context : {kHelpExportDialog, kHelpDsnDialog, kHelpOdbcErrors, kHelpUpdateDialog}) {
    EXPECT_TRUE(HasTopic(context)) << context;
  }
  EXPECT_EQ("odbc_errors.html", HelpPageFor(kHelpOdbcErrors));
  EXPECT_EQ("index.html", HelpPageFor(4711));
}

TEST(HelpTopics, EveryPageLinksOnlyToPagesAndAnchorsThatExist) {
  const QRegularExpression link("href=\"([a-z_0-9]+\\.html)(#([a-z0-9-]+))?\"");
  for (const auto& entry : std::filesystem::directory_iterator(kHelpFolder)) {
    const QString text = QString::fromStdString(ReadBytes(entry.path().string()));
    for (auto match = link.globalMatch(text); match.hasNext();) {
      const auto found = match.next();
      const std::string target = kHelpFolder + found.captured(1).toStdString();
      ASSERT_TRUE(std::filesystem::exists(target)) << entry.path() << " -> " << target;
      if (!found.captured(3).isEmpty()) {
        EXPECT_NE(std::string::npos,
                  ReadBytes(target).find("id=\"" + found.captured(3).toStdString() + "\""))
            << entry.path() << " -> " << found.captured(0).toStdString();
      }
    }
  }
}

TEST(FindHelpFolder, PrefersThePagesBesideTheProgram) {
  TempDir program;
  std::filesystem::create_directory(program.File("help"));
  EXPECT_NE(program.File("help/"), FindHelpFolder(program.Path()));
  WriteBytes(program.File("help/index.html"), "<html></html>");
  EXPECT_EQ(program.File("help/"), FindHelpFolder(program.Path()));
  EXPECT_TRUE(std::filesystem::exists(FindHelpFolder("/nonexistent/") + "index.html"));
}

TEST(HelpWindow, ShowsThePageOfATopic) {
  HelpWindow window(kHelpFolder);
  window.ShowPage(HelpPageFor(kHelpOdbcErrors));
  auto* browser = window.findChild<QTextBrowser*>("helpBrowser");
  EXPECT_EQ("ODBC Errors", browser->documentTitle());
  EXPECT_EQ("Quorlin Help - ODBC Errors", window.windowTitle());
  window.show();
  window.ShowPage("menus.html#about");
  EXPECT_EQ("The menus", browser->documentTitle());
  // The topic of a menu item near the end of its page is scrolled into sight.
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
  window.ShowPage("menus.html");
  EXPECT_EQ(0, browser->verticalScrollBar()->value());
}

TEST(DesktopLauncher, OpensTheTopicInOneHelpWindow) {
  DesktopLauncher launcher(kHelpFolder);
  launcher.OpenHelp(kHelpOdbcErrors);
  launcher.OpenHelp(kHelpUpdateDialog);
  std::vector<HelpWindow*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<HelpWindow*>(widget)) windows.push_back(window);
  }
  ASSERT_EQ(1u, windows.size());
  EXPECT_TRUE(windows[0]->isVisible());
  EXPECT_EQ("Checking for updates",
            windows[0]->findChild<QTextBrowser*>("helpBrowser")->documentTitle());
}

class ContextHelpKeyTest : public ::testing::Test {
 protected:
  ContextHelpKeyTest() : key(launches) { qApp->installEventFilter(&key); }
  ~ContextHelpKeyTest() override { qApp->removeEventFilter(&key); }

  RecordedLaunches launches;
  ContextHelpKey key;
};

TEST_F(ContextHelpKeyTest, F1OpensTheNumberOfTheControlOrOfTheNearestParent) {
  QWidget window;
  window.setProperty("helpContext", 1300);
  auto* numbered = new QLineEdit(&window);
  numbered->setProperty("helpContext", 1330);
  auto* plain = new QLineEdit(&window);
  window.show();
  QTest::keyClick(numbered, Qt::Key_F1);
  QTest::keyClick(plain, Qt::Key_F1);
  QTest::keyClick(plain, Qt::Key_F2);
  EXPECT_EQ((std::vector<int>{1330, 1300}), launches.helpContexts);
  QWidget nothing;
  QTest::keyClick(&nothing, Qt::Key_F1);
  EXPECT_EQ(kHelpContents, launches.helpContexts.back());
}

TEST_F(ContextHelpKeyTest, F1InAMenuOpensTheNumberOfTheHighlightedItem) {
  QWidget window;
  QMenu menu(&window);
  menu.menuAction()->setProperty("helpContext", 710);
  QAction* sounds = menu.addAction("With Sound Effects");
  sounds->setProperty("helpContext", 970);
  EXPECT_EQ(710, HelpContextAt(&menu));
  menu.setActiveAction(sounds);
  EXPECT_EQ(970, HelpContextAt(&menu));
}

}  // namespace
}  // namespace quorlin::testing
