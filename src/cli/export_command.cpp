// quorlin-cli export: the export dialog's work for a file opened from the schema list.
#include <filesystem>
#include <memory>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/progress_bar.h"
#include "export/export_choices.h"
#include "export/export_writers.h"
#include "platform/file_error.h"

namespace quorlin {

namespace {

struct ExportArguments {
  std::string file;
  std::string format;
  std::string output;
  LayoutArguments layout;
  std::optional<bool> fieldNames;
  bool includeHeaderRow = false;
  std::string title;
  std::string otherChar;
  std::string outputQualifier = "\"";
  bool noTranslate = false;
  std::int64_t rowsPerFile = 0;
  std::string compression = "zstd";
  bool currencyAsDecimal = false;
};

OutputCompression ParseCompression(const std::string& word) {
  if (word == "none") return OutputCompression::None;
  if (word == "zstd") return OutputCompression::Zstd;
  if (word == "snappy") return OutputCompression::Snappy;
  throw CliError(kExitRefused, "--compression: '" + word + "' is not one of none, zstd, snappy");
}

ExportFormat ParseFormat(const std::string& word) {
  if (const std::optional<ExportFormat> format = FormatFromCommandWord(word)) return *format;
  std::string words;
  for (const ExportFormatInfo& info : kExportFormats) {
    words += (words.empty() ? "" : ", ") + std::string(info.commandWord);
  }
  throw CliError(kExitRefused, "--to: '" + word + "' is not one of " + words);
}

// The choices the dialog would hold for the file opened from the schema list: its layout's
// input settings, the layout options over them, and the "To..." options.
ExportChoices ChoicesFor(const ExportArguments& arguments, const OpenFile& file) {
  const FileLayout& layout = file.Layout();
  ExportChoices choices;
  choices.format = ParseFormat(arguments.format);
  choices.inputPath = file.InputPath();
  choices.outputPath = arguments.output;
  choices.inputSeparator = SeparatorText(layout);
  choices.fixedInput = layout.separator == SeparatorKind::Fixed;
  choices.inputQualifierBox = layout.textQualifier;
  choices.hasHeaderRow = layout.hasHeaderRow;
  choices.includeHeaderRow = arguments.includeHeaderRow;
  // As the dialog sets the box when the format is chosen: only xBase and Paradox clear it.
  choices.includeFieldNames = arguments.fieldNames.value_or(
      choices.format != ExportFormat::XBase && choices.format != ExportFormat::Paradox);
  choices.title = TitleFromBox(arguments.title);
  choices.translateSpecialChars = !arguments.noTranslate;
  choices.otherChar = arguments.otherChar;
  choices.outputQualifierBox = arguments.outputQualifier;
  choices.rowsPerFile = arguments.rowsPerFile;
  choices.compression = ParseCompression(arguments.compression);
  choices.currencyAsDecimal = arguments.currencyAsDecimal;
  return choices;
}

int RunExportCommand(const ExportArguments& arguments, const CommandContext& context) {
  CheckLayoutArguments(arguments.layout);
  // The dialog only ever exports the file the window has open; here a missing one is an error
  // of its own rather than a file without saved fields.
  std::error_code error;
  if (!std::filesystem::exists(arguments.file, error)) {
    throw FileError("File not found: " + arguments.file);
  }
  const ExportChoices choices = ChoicesFor(arguments, OpenFromSchemaList(arguments.file, arguments.layout));
  ExportContext clock{CurrentDateTime(), context.locale, SystemMonthNames()};
  auto prepared = PrepareExport(choices, clock);
  if (const auto* failure = std::get_if<ExportCheckFailure>(&prepared)) {
    throw CliError(kExitRefused, failure->message);
  }
  ExportRequest& request = std::get<ExportRequest>(prepared);
  TerminalProgress bar(context.err);
  if (context.errIsTerminal) {
    request.progress = [&bar](std::int64_t position, std::int64_t maximum) {
      bar.Update(position, maximum);
    };
  }
  ExportResult result;
  try {
    result = ExportFile(request);
  } catch (...) {
    bar.Finish();
    throw;
  }
  bar.Finish();
  for (const std::string& message : result.messages) context.err << message << '\n';
  if (result.outcome == ExportOutcome::Refused) return kExitRefused;
  context.err << ResultMessage(result) << '\n';
  if (WarnsAfter(choices.format, result)) context.err << kExportWarningMessage << '\n';
  return result.Exported() ? kExitDone : kExitReportedFailure;
}

}  // namespace

Command AddExportCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<ExportArguments>();
  CLI::App* command = app.add_subcommand("export", "export the file with its saved layout");
  command->add_option("FILE", arguments->file, "data file")->required();
  command->add_option("--to", arguments->format,
                      "csv, space, tab, other, dbf, paradox, xls, html, xml, sql or parquet")
      ->required();
  command->add_option("-o", arguments->output, "output file")->required();
  AddLayoutOptions(*command, arguments->layout);
  command->add_flag_function(
      "--field-names,!--no-field-names",
      [arguments](std::int64_t count) { arguments->fieldNames = count > 0; },
      "Include FIELD Names");
  command->add_flag("--include-header-row", arguments->includeHeaderRow, "Include Header Row?");
  command->add_option("--title", arguments->title, "table / schema title");
  command->add_option("--out-char", arguments->otherChar, "Other Char");
  command->add_option("--out-qualifier", arguments->outputQualifier,
                      "output text qualifier, {none} for none");
  command->add_flag("--no-translate", arguments->noTranslate, "Translate Special Chars off");
  command->add_option("--rows-per-file", arguments->rowsPerFile,
                      "parquet: a folder of part files of at most N rows each")
      ->check(CLI::PositiveNumber);
  command->add_option("--compression", arguments->compression, "parquet: none, zstd (the default) or snappy");
  command->add_flag("--currency-decimal", arguments->currencyAsDecimal,
                    "parquet: Currency as DECIMAL(19,4) rather than DOUBLE");
  return {command, [arguments] { return arguments->file; },
          [arguments, &context] { return RunExportCommand(*arguments, context); }};
}

}  // namespace quorlin
