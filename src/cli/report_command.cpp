// quorlin-cli report: the structure report of a file's saved layout.
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/command_input.h"
#include "cli/commands.h"
#include "platform/atomic_file.h"
#include "platform/local_date.h"
#include "schema/structure_report.h"

namespace quorlin {

namespace {

constexpr const char* kNoStructureDisplayed = "No File Structure Displayed";

struct ReportArguments {
  std::string file;
  std::optional<std::string> output;
  LayoutArguments layout;
};

void RefuseWritingOverInput(const std::string& input, const std::string& output) {
  if (const std::optional<std::string> refusal = ReportOutputRefusal(input, output)) {
    throw CliError(kExitRefused, *refusal);
  }
}

}  // namespace

Command AddReportCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<ReportArguments>();
  CLI::App* command = app.add_subcommand("report", "print the structure report of the saved layout");
  command->add_option("FILE", arguments->file, "the data file, - for the standard input")->required()->type_name("FILE");
  command->add_option_function<std::string>(
      "-o", [arguments](const std::string& value) { arguments->output = value; },
      "write the report to this file instead of the standard output")
      ->type_name("FILE");
  command->add_option_function<std::string>(
      "--count-from", [arguments](const std::string& value) { arguments->layout.countFrom = value; },
      "number the fields from 0 or 1")
      ->type_name("0|1");
  AddLayoutSourceOptions(*command, arguments->layout);
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    arguments->layout.fromSchema = true;
    CheckLayoutArguments(arguments->layout);
    const CommandInput input(arguments->file, arguments->layout, context.in);
    if (arguments->output) RefuseWritingOverInput(input.Path(), *arguments->output);
    // The field list as opening the file from the schema list shows it.
    const OpenFile file = OpenDataFile(input.Path(), arguments->layout);
    if (file.Fields().empty()) throw CliError(kExitRefused, kNoStructureDisplayed);
    const std::string report = StructureReport(file.InputText(), file.Layout().separator, file.Fields(),
                                               file.NumberingBase(), LocalToday());
    if (!arguments->output) {
      context.out << report;
      context.out.flush();
      return kExitDone;
    }
    ReplaceFile(*arguments->output, report);
    PrintMessage(context.err, "Output in " + *arguments->output);
    return kExitDone;
  }};
}

}  // namespace quorlin
