// quorlin-cli guess: the field list after Refresh and Guess Field Types, optionally saved.
#include <memory>
#include <sstream>

#include "cli/cli_error.h"
#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "cli/plain_table.h"
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

int SaveFields(OpenFile& file, bool extended, std::ostream& err) {
  if (const Refusal refusal = file.CheckWidthsSet()) throw CliError(kExitRefused, *refusal);
  const SaveOutcome outcome = file.Save(!extended);
  if (outcome.refused) throw CliError(kExitRefused, outcome.message);
  err << outcome.message << '\n';
  return outcome.written ? kExitDone : kExitReportedFailure;
}

}  // namespace

Command AddGuessCommand(CLI::App& app, const CommandContext& context) {
  auto arguments = std::make_shared<GuessArguments>();
  CLI::App* command = app.add_subcommand("guess", "print the field list of the file");
  command->add_option("FILE", arguments->file, "data file")->required();
  AddLayoutOptions(*command, arguments->layout);
  command->add_option_function<std::string>(
      "--breaks", [arguments](const std::string& value) { arguments->breaks = value; },
      "break marks of a fixed layout: P,P,...");
  CLI::Option* save = command->add_flag("--save", arguments->save, "save into Schema.INI");
  command->add_flag("--extended", arguments->extended, "save the extended form")->needs(save);
  command->add_flag("--json", arguments->json, "print one JSON object");
  return {command, [arguments] { return arguments->file; }, [arguments, &context] {
    CheckLayoutArguments(arguments->layout);
    OpenFile file = OpenDataFile(arguments->file, arguments->layout);
    PrintCutMessages(arguments->file, file, context.err);
    if (arguments->breaks) {
      if (!file.IsFixedView()) {
        throw CliError(kExitRefused, "--breaks: only a fixed-length layout has break marks");
      }
      ClickBreaks(*arguments->breaks, file);
    }
    if (const Refusal refusal = file.Guess(context.locale)) throw CliError(kExitRefused, *refusal);
    if (arguments->json) {
      nlohmann::ordered_json object;
      object["fields"] = FieldListJson(file.Fields());
      context.out << object.dump() << '\n';
    } else {
      for (const FieldSpec& field : file.Fields()) context.out << FieldLine(field);
    }
    context.out.flush();
    return arguments->save ? SaveFields(file, arguments->extended, context.err) : kExitDone;
  }};
}

}  // namespace quorlin
