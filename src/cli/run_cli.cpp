// Command-line parsing and the mapping of failures to exit statuses.
#include "cli/run_cli.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "platform/file_error.h"
#include "platform/file_version.h"
#include "schema/schema_reader.h"
#include "text/integer_text.h"

namespace quorlin {

namespace {

int RunParsed(const Command& command) {
  try {
    return command.run();
  } catch (const std::bad_alloc&) {
    throw OutOfMemoryError(command.subject());
  }
}

// Results that could not be written (a full disk, a closed file) are work not done.
int AfterWritingResults(int status, std::ostream& out) {
  errno = 0;
  out.flush();
  if (out) return status;
  const std::string cause = errno != 0 ? std::strerror(errno) : "the output failed";
  throw FileError("Cannot write the results to the standard output: " + cause);
}

// The subcommand a mistyped first word should have been, said with the ones there are.
std::optional<std::string> UnknownCommandMessage(int argc, char** argv, const CLI::App& app) {
  if (argc < 2 || argv[1][0] == '-') return std::nullopt;
  const std::string word = argv[1];
  std::string names;
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command->get_name() == word) return std::nullopt;
    names += (names.empty() ? "" : ", ") + command->get_name();
  }
  return "'" + word + "' is not a command; the commands are " + names;
}

}  // namespace

int RunCli(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  CLI::App app("Quorlin for flat text data files, without a window", kProgramName);
  app.set_version_flag("--version", FileVersionText());
  app.require_subcommand(1);
  const bool errIsTerminal = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
  const CommandContext context{in, out, err, SystemLocaleSettings(), errIsTerminal};
  const Command commands[] = {AddPreviewCommand(app, context), AddGuessCommand(app, context),
                              AddSchemaCommand(app, context), AddReportCommand(app, context),
                              AddExportCommand(app, context), AddDsnCommand(app, context)};

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error, out, err) == 0 ? kExitDone : kExitRefused;
    if (const std::optional<std::string> unknown = UnknownCommandMessage(argc, argv, app)) {
      PrintMessage(err, *unknown);
    } else {
      PrintMessage(err, error.what());
      err << "Run with --help for more information.\n";
    }
    return kExitRefused;
  }

  try {
    for (const Command& command : commands) {
      if (command.app->parsed()) return AfterWritingResults(RunParsed(command), out);
    }
    return kExitRefused;
  } catch (const CliError& error) {
    PrintMessage(err, error.what());
    return error.ExitCode();
  } catch (const ConversionError& error) {
    PrintMessage(err, error.what());
    return kExitRefused;
  } catch (const std::exception& error) {
    // FileError, SchemaError and the rest: an error stopped the work.
    PrintMessage(err, error.what());
    return kExitStopped;
  }
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  return RunCli(argc, argv, std::cin, out, err);
}

}  // namespace quorlin
