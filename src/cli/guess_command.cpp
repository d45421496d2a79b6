// quorlin-cli guess: the field list after Refresh and Guess Field Types, optionally saved.
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/command_input.h"
#include "cli/scratch_folder.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/plain_table.h"
#include "platform/file_error.h"
#include "schema/saved_section.h"
#include "schema/schema_writer.h"
#include "text/integer_text.h"

namespace quorlin {

namespace {

struct GuessArguments {
  std::string file;
  LayoutArguments layout;
  std::optional<std::string> breaks;
  bool save = false;
  bool extended = false;
  bool printLayout = false;
  bool json = false;
};

// The positions of "P,P,...", each toggled as a click on the ruler would.
void ClickBreaks(const std::string& list, OpenFile& file) {
  std::istringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    long long position = 0;
    try {
      position = ToInteger(item);
    } catch (const ConversionError& error) {
      throw CliError(kExitRefused, std::string("--breaks: ") + error.what());
    }
    if (position < 1 || position > kMaxBreakPosition || !file.ToggleBreak(static_cast<int>(position))) {
      throw CliError(kExitRefused, "--breaks: " + std::to_string(position) +
                                       " is not a position from 1 to " +
                                       std::to_string(kMaxBreakPosition));
    }
  }
}

// Why the folder's Schema.INI could not be written, when the save's message does not say: the
// file or the folder is read-only (without any write permission bit, as a user marks them, or
// not writable for this user). Empty when neither is.
std::string WriteFailureCause(const OpenFile& file) {
  const SavedSection saved = SavedSectionOf(file.InputPath());
  const auto readOnly = [](const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
  };
  if (readOnly(saved.schemaPath)) return "\nthe file " + saved.schemaPath + " is read-only";
  if (readOnly(saved.folder)) return "\nthe folder " + saved.folder + " is read-only";
  return "";
}

int SaveFields(OpenFile& file, bool extended, std::ostream& err) {
  if (const Refusal refusal = file.CheckWidthsSet()) throw CliError(kExitRefused, *refusal);
  const SaveOutcome outcome = file.Save(!extended);
  if (outcome.refused) throw CliError(kExitRefused, outcome.message);
  // A layout that could not be written (a read-only folder, a full disk) is work an error
  // stopped, with its cause.
  if (!outcome.written) throw CliError(kExitStopped, outcome.message + WriteFailureCause(file));
  PrintMessage(err, outcome.message);
  return kExitDone;
}

// The section --save would write, as its lines stand in the file.
std::string SectionText(const OpenFile& file, bool extended) {
  const ScratchFolder scratch;
  ProfileFile schema(scratch.File("Schema.INI"), Unreadable::Raises);
  if (!SchemaFileWriter(schema, file.SectionName(), file.Layout(), file.Fields(), !extended)) {
    throw FileError("Unable to write to " + schema.Path());
  }
  std::ifstream in(schema.Path(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

Command AddGuessCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<GuessArguments>();
  CLI::App* command = app.add_subcommand("guess", "print the field list of the file");
  command->add_option("FILE", arguments->file, "the data file, - for the standard input")->required()->type_name("FILE");
  AddLayoutOptions(*command, arguments->layout);
  AddLayoutSourceOptions(*command, arguments->layout);
  command->add_option_function<std::string>(
      "--breaks", [arguments](const std::string& value) { arguments->breaks = value; },
      "the field starts of a fixed-length file, as character positions")
      ->type_name("P,P,...");
  command->add_flag("--save", arguments->save, "save the layout into the Schema.INI in the file's folder");
  command->add_flag("--print-layout", arguments->printLayout, "print the Schema.INI section --save would write");
  command->add_flag("--extended", arguments->extended, "save or print the layout with its date formats");
  command->add_flag("--json", arguments->json, "print one JSON object");
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    CheckLayoutArguments(arguments->layout);
    if (arguments->extended && !arguments->save && !arguments->printLayout) {
      throw CliError(kExitRefused, "--extended: only with --save or --print-layout");
    }
    const CommandInput input(arguments->file, arguments->layout, context.in);
    if (arguments->save && (input.FromStandardInput() || input.LayoutGiven())) {
      throw CliError(kExitRefused,
                     "--save: the layout of the standard input, or one given with --layout or --fields, "
                     "is never saved; --print-layout prints it");
    }
    OpenFile file = OpenDataFile(input.Path(), arguments->layout);
    PrintCutMessages(arguments->file, file, context.err);
    if (arguments->breaks) {
      if (!file.IsFixedView()) {
        throw CliError(kExitRefused, "--breaks: only a fixed-length layout has break marks");
      }
      ClickBreaks(*arguments->breaks, file);
    }
    const bool everyRecord = arguments->layout.rowsToScan == "all";
    if (const Refusal refusal = everyRecord ? file.GuessFromEveryRecord(context.locale) : file.Guess(context.locale)) {
      throw CliError(kExitRefused, *refusal);
    }
    if (arguments->json) {
      nlohmann::ordered_json object;
      object["characterSet"] = file.Layout().characterSet.Name();
      object["fields"] = FieldListJson(file.Fields());
      if (arguments->printLayout) object["layout"] = JsonText(SectionText(file, arguments->extended));
      context.out << object.dump() << '\n';
    } else if (arguments->printLayout) {
      // The section alone, so that it can be appended to a Schema.INI as it is.
      context.out << SectionText(file, arguments->extended);
    } else {
      // Beside the cut messages, so that the field list stays one field per line.
      PrintMessage(context.err, arguments->file + ": character set " + file.Layout().characterSet.Name());
      for (const FieldSpec& field : file.Fields()) context.out << FieldLine(field);
    }
    context.out.flush();
    return arguments->save ? SaveFields(file, arguments->extended, context.err) : kExitDone;
  }};
}

}  // namespace quorlin
