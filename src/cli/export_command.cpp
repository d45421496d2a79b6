// quorlin-cli export: the export dialog's work for a file opened from the schema list.
#include <filesystem>
#include <memory>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/command_input.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/progress_bar.h"
#include "export/export_choices.h"
#include "export/export_writers.h"
#include "platform/file_error.h"
#include "text/record_reader.h"

namespace quorlin {

namespace {

// The output names that mean the standard output.
constexpr const char* kStandardOutputNames[] = {"-", "/dev/stdout"};

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
  std::optional<std::string> dialect;
  std::string lineEnd = "crlf";
  bool json = false;
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

std::string FormatWords() {
  std::string words;
  for (const ExportFormatInfo& info : kExportFormats) {
    words += (words.empty() ? "" : ", ") + std::string(info.commandWord);
  }
  return words;
}

ExportFormat ParseFormat(const std::string& word) {
  if (const std::optional<ExportFormat> format = FormatFromCommandWord(word)) return *format;
  throw CliError(kExitRefused, "--to: '" + word + "' is not one of " + FormatWords());
}

SqlDialect ParseDialect(const std::optional<std::string>& word, ExportFormat format) {
  if (!word) return SqlDialect::Script;
  if (format != ExportFormat::SqlSchema) throw CliError(kExitRefused, "--dialect: only with --to sql");
  if (*word == "sqlite") return SqlDialect::Sqlite;
  if (*word == "postgresql") return SqlDialect::Postgresql;
  if (*word == "ansi") return SqlDialect::Ansi;
  throw CliError(kExitRefused, "--dialect: '" + *word + "' is not one of sqlite, postgresql, ansi");
}

std::string ParseLineEnd(const std::string& word) {
  if (word == "crlf") return std::string(kLineEnd);
  if (word == "lf") return "\n";
  throw CliError(kExitRefused, "--line-end: '" + word + "' is not crlf or lf");
}

bool IsStandardOutput(const std::string& output) {
  for (const char* name : kStandardOutputNames) {
    if (output == name) return true;
  }
  return false;
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
  choices.characterSet = layout.characterSet;
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
  choices.sqlDialect = ParseDialect(arguments.dialect, choices.format);
  choices.lineEnd = ParseLineEnd(arguments.lineEnd);
  choices.toStandardOutput = IsStandardOutput(arguments.output);
  if (choices.toStandardOutput && arguments.rowsPerFile > 0) {
    throw CliError(kExitRefused, "--rows-per-file: a folder of part files cannot go to the standard output");
  }
  choices.savedLayout = arguments.layout.source;
  choices.rowsPerFile = arguments.rowsPerFile;
  choices.compression = ParseCompression(arguments.compression);
  choices.currencyAsDecimal = arguments.currencyAsDecimal;
  choices.conventions = layout.conventions;
  return choices;
}

const char* OutcomeWord(ExportOutcome outcome) {
  switch (outcome) {
    case ExportOutcome::Exported: return "exported";
    case ExportOutcome::Failed: return "failed";
    case ExportOutcome::Refused: break;
  }
  return "refused";
}

// The export as one JSON object: what a script needs without reading the messages.
void PrintExportJson(std::ostream& out, const ExportResult& result, const std::optional<std::string>& log,
                     int exitStatus) {
  nlohmann::ordered_json object;
  object["outcome"] = OutcomeWord(result.outcome);
  object["exitStatus"] = exitStatus;
  object["recordsWritten"] = result.recordsWritten;
  object["valuesRejected"] = result.valuesRejected;
  object["log"] = log ? nlohmann::ordered_json(JsonText(*log)) : nlohmann::ordered_json(nullptr);
  object["messages"] = JsonTextArray(result.messages);
  out << object.dump() << '\n';
}

int ExitStatusOf(const ExportResult& result) {
  if (result.outcome == ExportOutcome::Refused) return kExitRefused;
  // Values written bare cannot be read back as they were: the work ran, but not faithfully.
  return result.Exported() && result.valuesWrittenBare == 0 ? kExitDone : kExitReportedFailure;
}

int RunExportCommand(ExportArguments& arguments, const CommandContext& context) {
  CheckLayoutArguments(arguments.layout);
  // The dialog only ever exports the file the window has open; here a missing one is an error
  // of its own rather than a file without saved fields.
  std::error_code error;
  if (arguments.file != kStandardInputArgument && !std::filesystem::exists(arguments.file, error)) {
    throw FileError("File not found: " + arguments.file);
  }
  const CommandInput input(arguments.file, arguments.layout, context.in);
  const ExportChoices choices = ChoicesFor(arguments, OpenFromSchemaList(input.Path(), arguments.layout));
  // With the data on the standard output, the report goes where the messages go.
  std::ostream& report = choices.toStandardOutput ? context.err : context.out;
  ExportContext clock{CurrentDateTime(), context.locale, SystemMonthNames()};
  auto prepared = PrepareExport(choices, clock);
  if (const auto* failure = std::get_if<ExportCheckFailure>(&prepared)) {
    if (!arguments.json) throw CliError(kExitRefused, failure->message);
    PrintExportJson(report, {ExportOutcome::Refused, {failure->message}}, std::nullopt, kExitRefused);
    return kExitRefused;
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
  const int status = ExitStatusOf(result);
  if (arguments.json) {
    // A log is named only when it is a file that was written to.
    std::optional<std::string> log = choices.toStandardOutput ? std::nullopt : LogFileOf(request);
    if (log && std::filesystem::file_size(*log, error) == 0) log.reset();
    PrintExportJson(report, result, log, status);
    return status;
  }
  if (result.unclosedLine > 0) PrintMessage(context.err, arguments.file + ": " + UnclosedValueMessage(result.unclosedLine));
  for (const std::string& message : result.messages) PrintMessage(context.err, message);
  if (result.outcome == ExportOutcome::Refused) return status;
  PrintMessage(context.err, ResultMessage(result));
  if (WarnsAfter(choices.format, result)) PrintMessage(context.err, kExportWarningMessage);
  return status;
}

std::string FormatHelp() {
  std::string help = "the output format:";
  for (const ExportFormatInfo& info : kExportFormats) {
    help += "\n  " + std::string(info.commandWord) + ": " + std::string(info.description);
  }
  return help;
}

}  // namespace

Command AddExportCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<ExportArguments>();
  CLI::App* command = app.add_subcommand("export", "export the file with its saved layout");
  command->add_option("FILE", arguments->file, "the data file, - for the standard input")
      ->required()
      ->type_name("FILE");
  command->add_option("--to", arguments->format, FormatHelp())->required()->type_name("FORMAT");
  command->add_option("-o", arguments->output, "the output file, - for the standard output")
      ->required()
      ->type_name("FILE");
  AddLayoutOptions(*command, arguments->layout);
  AddLayoutSourceOptions(*command, arguments->layout);
  command->add_flag_function(
      "--field-names,!--no-field-names",
      [arguments](std::int64_t count) { arguments->fieldNames = count > 0; },
      "include a line of field names (default: for every format but dbf and paradox)");
  command->add_flag("--include-header-row", arguments->includeHeaderRow,
                    "copy the input's header line into the output");
  command->add_option("--title", arguments->title, "the table name of sql, the title of html and xml")
      ->type_name("TEXT");
  command->add_option("--out-char", arguments->otherChar, "the separator of --to other")->type_name("CHAR");
  command->add_option("--out-qualifier", arguments->outputQualifier,
                      "the character around output values that hold the separator, {none} for none")
      ->type_name("TEXT");
  command->add_flag("--no-translate", arguments->noTranslate,
                    "write &, < and > and characters above 127 of html and xml as they are");
  command->add_option_function<std::string>(
      "--dialect", [arguments](const std::string& value) { arguments->dialect = value; },
      "with --to sql: the SQL of sqlite, postgresql or ansi (the standard) instead of the script with GO lines")
      ->type_name("sqlite|postgresql|ansi");
  command->add_option("--line-end", arguments->lineEnd, "the line end of text outputs (default: crlf)")
      ->type_name("crlf|lf");
  command->add_flag("--json", arguments->json,
                    "report the outcome as one JSON object (on the standard error with -o -)");
  command->add_option("--rows-per-file", arguments->rowsPerFile,
                      "parquet: a folder of part files of at most N rows each")
      ->check(WithoutDescription(CLI::PositiveNumber))
      ->type_name("NUMBER");
  command->add_option("--compression", arguments->compression, "parquet: none, zstd (the default) or snappy")
      ->type_name("none|zstd|snappy");
  command->add_flag("--currency-decimal", arguments->currencyAsDecimal,
                    "parquet: Currency as DECIMAL(19,4) rather than DOUBLE");
  return {command, [arguments] { return arguments->file; },
          [arguments, &context] { return RunExportCommand(*arguments, context); }};
}

}  // namespace quorlin
