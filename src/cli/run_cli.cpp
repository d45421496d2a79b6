// Command-line parsing and the mapping of failures to exit statuses.
#include "cli/run_cli.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>

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

}  // namespace

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app("Quorlin for flat text data files, without a window", "quorlin-cli");
  app.set_version_flag("--version", FileVersionText());
  app.require_subcommand(1);
  const bool errIsTerminal = &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
  const CommandContext context{out, err, SystemLocaleSettings(), errIsTerminal};
  const Command commands[] = {AddPreviewCommand(app, context), AddGuessCommand(app, context),
                              AddSchemaCommand(app, context), AddReportCommand(app, context),
                              AddExportCommand(app, context), AddDsnCommand(app, context)};

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error, out, err) == 0 ? kExitDone : kExitRefused;
  }

  try {
    for (const Command& command : commands) {
      if (command.app->parsed()) return AfterWritingResults(RunParsed(command), out);
    }
    return kExitRefused;
  } catch (const CliError& error) {
    err << error.what() << '\n';
    return error.ExitCode();
  } catch (const ConversionError& error) {
    err << error.what() << '\n';
    return kExitRefused;
  } catch (const FileError& error) {
    err << error.what() << '\n';
    return kExitStopped;
  } catch (const SchemaError& error) {
    err << error.what() << '\n';
    return kExitStopped;
  } catch (const std::exception& error) {
    err << error.what() << '\n';
    return kExitStopped;
  }
}

}  // namespace quorlin
