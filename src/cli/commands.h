// The subcommands of quorlin-cli; each registers itself and returns what runs it once parsed.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "platform/locale_settings.h"

namespace quorlin {

struct CommandContext {
  std::istream& in;   // the data of a file argument "-"
  std::ostream& out;  // results
  std::ostream& err;  // messages
  LocaleSettings locale;
  bool errIsTerminal = false;  // progress may be drawn on `err`
};

struct Command {
  CLI::App* app;
  // The file or folder the command works on, for messages that must name it.
  std::function<std::string()> subject;
  // Runs the parsed command and gives the exit status; failures are raised.
  std::function<int()> run;
};

Command AddPreviewCommand(CLI::App& app, const CommandContext& context);
Command AddGuessCommand(CLI::App& app, const CommandContext& context);
Command AddSchemaCommand(CLI::App& app, const CommandContext& context);
Command AddReportCommand(CLI::App& app, const CommandContext& context);
Command AddExportCommand(CLI::App& app, const CommandContext& context);
Command AddDsnCommand(CLI::App& app, const CommandContext& context);

}  // namespace quorlin
