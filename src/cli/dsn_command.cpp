// quorlin-cli dsn add|config|remove|tables|open: the DSN dialog's work for a folder.
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/dsn_table.h"
#include "odbc/driver_registration.h"
#include "odbc/text_dsn_commands.h"
#include "platform/folder_files.h"

namespace quorlin {

namespace {

struct DsnArguments {
  std::string folder;
  std::string table;
  std::string sql;
  std::string name = kDefaultDsnName;
  std::string description = kDefaultDsnDescription;
  std::string extensions = kDefaultDsnExtensions;
  bool json = false;
};

void RequireFolder(const std::string& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw CliError(kExitStopped, folder + ": folder not found");
}

// The checks the window makes before its DSN dialog opens.
void RequireTextDriver() {
  const OdbcAvailability availability = CheckTextDriverAvailability();
  if (availability != OdbcAvailability::Ready) throw CliError(kExitStopped, AvailabilityMessage(availability));
}

int Report(const TextDsnOutcome& outcome, std::ostream& err) {
  if (outcome.refused) throw CliError(kExitRefused, outcome.errorBoxes.back());
  for (const std::string& box : outcome.errorBoxes) PrintMessage(err, box);
  if (!outcome.ok) throw CliError(kExitReportedFailure, outcome.message);
  PrintMessage(err, outcome.message);
  return kExitDone;
}

TextDsnRequest RequestOf(const DsnArguments& arguments) {
  return {arguments.folder, arguments.name, arguments.description, arguments.extensions};
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return WithTrailingSlash(home != nullptr ? home : "/");
}

void AddBoxOptions(CLI::App& command, DsnArguments& arguments) {
  command.add_option("--name", arguments.name, "data source name")->capture_default_str();
  command.add_option("--description", arguments.description, "description")->capture_default_str();
  command.add_option("--extensions", arguments.extensions, "file extensions")->capture_default_str();
}

}  // namespace

Command AddDsnCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<DsnArguments>();
  CLI::App* dsn = app.add_subcommand("dsn", "the folder's ODBC data source of the text driver");
  dsn->require_subcommand(1);

  CLI::App* add = dsn->add_subcommand("add", "create the folder's data source");
  add->add_option("FOLDER", arguments->folder, "data folder")->required();
  AddBoxOptions(*add, *arguments);
  CLI::App* config = dsn->add_subcommand("config", "reconfigure the data source for the folder");
  config->add_option("FOLDER", arguments->folder, "data folder")->required();
  AddBoxOptions(*config, *arguments);
  CLI::App* remove = dsn->add_subcommand("remove", "remove the data source");
  remove->add_option("--name", arguments->name, "data source name")->capture_default_str();
  CLI::App* tables = dsn->add_subcommand("tables", "list the folder's tables as the dialog lists them");
  tables->add_option("FOLDER", arguments->folder, "data folder")->required();
  tables->add_option("--extensions", arguments->extensions, "file extensions")->capture_default_str();
  CLI::App* open = dsn->add_subcommand("open", "print a table's rows, or a statement's, as the ODBC driver returns them");
  CLI::Option* table = open->add_option("TABLE", arguments->table, "table (a data file's name)");
  open->add_option("--sql", arguments->sql, "run this SQL statement through the driver instead")->excludes(table);
  open->add_option("--name", arguments->name, "data source name")->capture_default_str();
  open->add_flag("--json", arguments->json, "print one JSON object");

  // What the command works on: the folder, else the table, else the data source.
  const auto subject = [arguments] {
    if (!arguments->folder.empty()) return arguments->folder;
    return arguments->table.empty() ? arguments->name : arguments->table;
  };
  return {dsn, subject, [arguments, &context, add, config, remove, tables] {
    if (*tables) {
      RequireFolder(arguments->folder);
      for (const std::string& table : DsnTableList(arguments->folder, arguments->extensions)) {
        context.out << table << '\n';
      }
      return kExitDone;
    }
    RequireTextDriver();
    if (!*add && !*config && !*remove) {
      if (arguments->table.empty() && arguments->sql.empty()) {
        throw CliError(kExitRefused, "dsn open needs a TABLE or --sql \"statement\"");
      }
      const std::string dataSource = DsnNameFromBox(arguments->name);
      if (arguments->sql.empty()) {
        PrintDataSourceTable(dataSource, arguments->table, arguments->json, context.out);
      } else {
        PrintDataSourceQuery(dataSource, arguments->sql, arguments->json, context.out);
      }
      return kExitDone;
    }
    TextDsnCreator creator = DialogDsnCreator(HomeFolder());
    const DsnScope scope = ChooseDsnScope();
    if (*remove) return Report(RemoveTextDsn(creator, arguments->name, scope), context.err);
    RequireFolder(arguments->folder);
    // Other programs read the data source from anywhere: its folder is absolute.
    arguments->folder = std::filesystem::absolute(arguments->folder).lexically_normal().string();
    if (*add) return Report(AddTextDsn(creator, RequestOf(*arguments), scope), context.err);
    return Report(ConfigureTextDsn(creator, RequestOf(*arguments), scope), context.err);
  }};
}

}  // namespace quorlin
