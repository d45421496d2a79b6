// Help-context numbers and the pages of the help they open.
#pragma once

#include <span>
#include <string>

namespace quorlin {

// The numbers other windows carry; the main window's are in the table of help_topics.cpp.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpMainWindow = 100;
inline constexpr int kHelpExportDialog = 1100;
inline constexpr int kHelpDsnDialog = 1200;
inline constexpr int kHelpOdbcErrors = 1290;
inline constexpr int kHelpUpdateDialog = 1300;

struct HelpTopic {
  int context;
  const char* page;  // "name.html" or "name.html#anchor", relative to the help folder
};

// Every help-context number with a topic of its own.
std::span<const HelpTopic> HelpTopics();
// The page of `context`; the contents page for a number without a topic.
std::string HelpPageFor(int context);

struct ControlHelp {
  const char* objectName;
  int context;
};

// The help-context numbers of the main window's controls, by object name.
std::span<const ControlHelp> MainWindowControlHelp();

// The folder of the help pages: beside the program, in its installed data folder or in the
// source tree it was built from; empty when none holds the contents page.
std::string FindHelpFolder(const std::string& programFolder);

}  // namespace quorlin
