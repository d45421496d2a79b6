// Every help-context number opens a page that exists, and F1 finds the number at hand.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <filesystem>

#include "app/help_topics.h"
#include "app/help_window.h"
#include "app/launcher.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

const std::string kHelpFolder = QUORLIN_TEST_DATA "/../help/";

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
}

TEST(FindHelpFolder, AnInstalledProgramFindsThemByItsOwnLocationOnly) {
  TempDir prefix;
  std::filesystem::create_directories(prefix.File("bin"));
  std::filesystem::create_directories(prefix.File("share/quorlin/help"));
  EXPECT_EQ("", FindHelpFolder(prefix.File("bin/")));
  WriteBytes(prefix.File("share/quorlin/help/index.html"), "<html></html>");
  EXPECT_EQ(prefix.File("bin/../share/quorlin/help/"), FindHelpFolder(prefix.File("bin/")));
  EXPECT_EQ("", FindHelpFolder("/nonexistent/"));
}

TEST(HelpWindow, ShowsThePageOfATopicScrolledToIt) {
  HelpWindow window(kHelpFolder);
  window.ShowPage(HelpPageFor(kHelpOdbcErrors));
  auto* browser = window.findChild<QTextBrowser*>("helpBrowser");
  EXPECT_EQ("ODBC Errors", browser->documentTitle());
  EXPECT_EQ("Quorlin Help - ODBC Errors", window.windowTitle());
  EXPECT_EQ("index.html", HelpPageFor(4711));
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

}  // namespace
}  // namespace quorlin::testing
