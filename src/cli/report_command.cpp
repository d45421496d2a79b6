// quorlin-cli report: the structure report of a file's saved layout.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "platform/atomic_file.h"
#include "schema/structure_report.h"

namespace quorlin {

namespace {

constexpr const char* kNoStructureDisplayed = "No File Structure Displayed";

struct ReportArguments {
  std::string file;
  std::optional<std::string> output;
  LayoutArguments layout;
};

std::chrono::year_month_day Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
}

// The input file is never written: an output naming it, also through a link, is refused.
void RefuseWritingOverInput(const std::string& input, const std::string& output) {
  std::error_code error;
  if (std::filesystem::equivalent(input, output, error)) {
    throw CliError(kExitRefused, output + ": the output is the input file, which is never written");
  }
}

}  // namespace

Command AddReportCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<ReportArguments>();
  CLI::App* command = app.add_subcommand("report", "print the structure report of the saved layout");
  command->add_option("FILE", arguments->file, "data file")->required();
  command->add_option_function<std::string>(
      "-o", [arguments](const std::string& value) { arguments->output = value; },
      "write the report to this file");
  command->add_option_function<std::string>(
      "--count-from", [arguments](const std::string& value) { arguments->layout.countFrom = value; },
      "counting base of field numbers");
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    arguments->layout.fromSchema = true;
    CheckLayoutArguments(arguments->layout);
    if (arguments->output) RefuseWritingOverInput(arguments->file, *arguments->output);
    // The field list as opening the file from the schema list shows it.
    const OpenFile file = OpenDataFile(arguments->file, arguments->layout);
    if (file.Fields().empty()) throw CliError(kExitRefused, kNoStructureDisplayed);
    const std::string report = StructureReport(file.InputText(), file.Layout().separator, file.Fields(),
                                               file.NumberingBase(), Today());
    if (!arguments->output) {
      context.out << report;
      context.out.flush();
      return kExitDone;
    }
    ReplaceFile(*arguments->output, report);
    context.err << "Output in " << *arguments->output << '\n';
    return kExitDone;
  }};
}

}  // namespace quorlin
