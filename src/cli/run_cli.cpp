// Command-line parsing and the mapping of failures to exit statuses.
#include "cli/run_cli.h"

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "platform/file_error.h"
#include "platform/file_version.h"
#include "schema/schema_reader.h"
#include "text/integer_text.h"

namespace quorlin {

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  CLI::App app("Quorlin for flat text data files, without a window", "quorlin-cli");
  app.set_version_flag("--version", FileVersionText());
  app.require_subcommand(1);
  const CommandContext context{out, err, SystemLocaleSettings()};
  const Command commands[] = {AddPreviewCommand(app, context), AddGuessCommand(app, context),
                              AddSchemaCommand(app, context), AddReportCommand(app, context),
                              AddDsnCommand(app, context)};

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error, out, err) == 0 ? kExitDone : kExitRefused;
  }

  try {
    for (const Command& command : commands) {
      if (command.app->parsed()) return command.run();
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
