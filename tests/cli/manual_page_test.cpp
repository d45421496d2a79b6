// The manual page and the help of every command agree on the options there are.
#include <map>
#include <regex>
#include <sstream>

#include "cli_run.h"

namespace quorlin::testing {
namespace {

const std::vector<std::vector<std::string>> kCommands = {
    {"preview"},           {"guess"},          {"schema", "list"}, {"schema", "show"},
    {"schema", "delete"},  {"report"},         {"export"},         {"dsn", "add"},
    {"dsn", "config"},     {"dsn", "remove"},  {"dsn", "tables"},  {"dsn", "open"}};

// The long options of a help text and the kind each shows ("" for a flag), without the default
// value the help shows after it.
std::map<std::string, std::string> OptionsOf(const std::string& help) {
  static const std::regex line(R"(^  (?:-\w,)?(--[a-z][a-z0-9-]*)(?:,[^ ]+)?(?: ([^ =]+))?)");
  std::map<std::string, std::string> options;
  std::istringstream lines(help);
  std::string text;
  std::smatch match;
  while (std::getline(lines, text)) {
    if (std::regex_search(text, match, line) && match[1] != "--help") options[match[1]] = match[2];
  }
  return options;
}

TEST(ManualPage, ListsEveryOptionOfEveryCommandAndTheHelpShowsTheKindOfItsValue) {
  const std::string manual = ReadBytes(std::string(QUORLIN_TEST_DATA) + "/../packaging/quorlin-cli.1.in");
  // Kinds as the command line speaks of them, never a type of the parser (INT, DOUBLE, ...).
  static const std::regex kind(R"(NUMBER|FILE|TEXT|NAME|CHAR|FORMAT|[a-z0-9./|,-]+\|[a-z0-9./|,-]+|NUMBER\|all|P,P,\.\.\.)");
  for (const std::vector<std::string>& command : kCommands) {
    std::vector<std::string> arguments = command;
    arguments.push_back("--help");
    const std::string help = RunArguments(arguments).out;
    const std::map<std::string, std::string> options = OptionsOf(help);
    for (const auto& [option, shown] : options) {
      std::string escaped;
      for (const char c : option) escaped += c == '-' ? std::string("\\-") : std::string(1, c);
      EXPECT_NE(std::string::npos, manual.find(escaped)) << command.back() << " " << option;
      if (!shown.empty()) {
        EXPECT_TRUE(std::regex_match(shown, kind)) << command.back() << " " << option << " " << shown;
      }
    }
  }
}

}  // namespace
}  // namespace quorlin::testing
