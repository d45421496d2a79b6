// Layout options from the command line into the layout the window's controls would hold.
#include "cli/cli_options.h"

#include <array>
#include <string_view>

#include "cli/cli_error.h"
#include "schema/saved_section.h"
#include "schema/schema_reader.h"
#include "text/field_mark.h"
#include "text/integer_text.h"
#include "text/record_reader.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

// The rows to scan of --rows all: the preview shows as many lines as it may hold.
constexpr const char* kAllRowsText = "9223372036854775807";

struct SeparatorWord {
  const char* word;
  SeparatorKind kind;
};

constexpr SeparatorWord kSeparatorWords[] = {{"comma", SeparatorKind::Comma},
                                             {"tab", SeparatorKind::Tab},
                                             {"space", SeparatorKind::Space},
                                             {"fixed", SeparatorKind::Fixed}};

void AddTextOption(CLI::App& command, const std::string& name, std::optional<std::string>& target,
                   const std::string& description, const std::string& kind = "TEXT") {
  command.add_option_function<std::string>(
      name, [&target](const std::string& value) { target = value; }, description)
      ->type_name(kind);
}

void CheckWholeNumber(const char* option, const std::optional<std::string>& text) {
  if (!text) return;
  try {
    ToInteger(*text);
  } catch (const ConversionError& error) {
    throw CliError(kExitRefused, std::string(option) + ": " + error.what());
  }
}

template <std::size_t N>
void CheckChoice(const char* option, const std::optional<std::string>& text,
                 const std::array<std::string_view, N>& choices) {
  if (!text) return;
  std::string listed;
  for (const std::string_view choice : choices) {
    if (*text == choice) return;
    listed += (listed.empty() ? "" : ", ") + std::string(choice);
  }
  throw CliError(kExitRefused, std::string(option) + ": '" + *text + "' is not one of " + listed);
}

}  // namespace

CLI::Validator WithoutDescription(CLI::Validator validator) {
  validator.description("");
  return validator;
}

void AddLayoutOptions(CLI::App& command, LayoutArguments& arguments) {
  AddTextOption(command, "--sep", arguments.separator,
                "the separator: comma, tab, space, fixed, or any one character");
  AddTextOption(command, "--qualifier", arguments.qualifier,
                "the character around values that hold the separator, {none} for none");
  command.add_flag("--header", arguments.headerRow, "line 1 holds the field names");
  AddTextOption(command, "--start", arguments.startRow, "the line the data starts at", "NUMBER");
  AddTextOption(command, "--rows", arguments.rowsToScan, "how many lines to look at; all for every one", "NUMBER|all");
  AddTextOption(command, "--count-from", arguments.countFrom, "number the fields from 0 or 1", "0|1");
  AddTextOption(command, "--line-length", arguments.lineLength, "the line length of a fixed-length file",
                "NUMBER");
  AddTextOption(command, "--date-format", arguments.dateOrder,
                "the file's date order", "dd/mm/yyyy|mm/dd/yyyy|yyyy-mm-dd");
  AddTextOption(command, "--decimal", arguments.decimalSymbol, "the file's decimal symbol", ".|,");
  AddTextOption(command, "--charset", arguments.characterSet,
                "the file's character set: UTF-8, ANSI, OEM, Windows-1250..1258, ISO-8859-1..15, "
                "CP437, CP850, CP852, UTF-16LE, UTF-16BE",
                "NAME");
  command.add_flag("--schema", arguments.fromSchema,
                   "take the layout from the Schema.INI in the file's folder");
}

void AddLayoutSourceOptions(CLI::App& command, LayoutArguments& arguments) {
  AddTextOption(command, "--layout", arguments.layoutFile,
                "take the layout from this Schema.INI instead of the one in the file's folder", "FILE");
  AddTextOption(command, "--section", arguments.section,
                "the section of the --layout file to read (default: the file's name)");
  AddTextOption(command, "--fields", arguments.fields,
                "the fields, as \"id Integer, name Char 30, born Date\"; nothing is saved");
}

void CheckLayoutArguments(const LayoutArguments& arguments) {
  if (arguments.separator && arguments.separator->size() > 1 && !IsOneCharacter(*arguments.separator)) {
    bool known = false;
    for (const SeparatorWord& word : kSeparatorWords) known |= *arguments.separator == word.word;
    if (!known) {
      throw CliError(kExitRefused, "--sep: '" + *arguments.separator +
                                       "' is not comma, tab, space, fixed or one character");
    }
  }
  CheckWholeNumber("--start", arguments.startRow);
  if (arguments.rowsToScan != "all") CheckWholeNumber("--rows", arguments.rowsToScan);
  if (arguments.layoutFile && arguments.fields) {
    throw CliError(kExitRefused, "--layout and --fields: give the layout one way only");
  }
  if (arguments.section && !arguments.layoutFile) {
    throw CliError(kExitRefused, "--section: only with --layout");
  }
  CheckWholeNumber("--line-length", arguments.lineLength);
  CheckWholeNumber("--count-from", arguments.countFrom);
  if (arguments.characterSet && !CharacterSet::Named(*arguments.characterSet)) {
    throw CliError(kExitRefused, "--charset: " + CharacterSet::UnknownMessage(*arguments.characterSet));
  }
  if (arguments.countFrom) {
    const long long base = ToInteger(*arguments.countFrom);
    if (base != 0 && base != 1) throw CliError(kExitRefused, "--count-from: must be 0 or 1");
  }
  CheckChoice("--date-format", arguments.dateOrder, kDateOrders);
  CheckChoice("--decimal", arguments.decimalSymbol, kDecimalSymbols);
}

FileLayout ApplyLayoutArguments(FileLayout layout, const LayoutArguments& arguments) {
  if (arguments.separator) {
    layout.separator = SeparatorKind::Custom;
    // The layout keeps characters as UTF-8; a byte that is none is its Latin-1 character.
    layout.customSeparator = AsUtf8(*arguments.separator);
    for (const SeparatorWord& word : kSeparatorWords) {
      if (*arguments.separator == word.word) {
        layout.separator = word.kind;
        layout.customSeparator.clear();
      }
    }
  }
  if (arguments.qualifier) layout.textQualifier = *arguments.qualifier;
  if (arguments.headerRow) {
    layout.hasHeaderRow = true;
    layout.startRow = "1";
  }
  if (arguments.startRow) layout.startRow = *arguments.startRow;
  // "all" is the command line's own: the preview then shows as many lines as it may.
  if (arguments.rowsToScan) layout.rowsToScan = *arguments.rowsToScan == "all" ? kAllRowsText : *arguments.rowsToScan;
  if (arguments.lineLength) layout.fixedLength = *arguments.lineLength;
  if (arguments.dateOrder) layout.conventions.dateOrder = *arguments.dateOrder;
  if (arguments.decimalSymbol) layout.conventions.decimalSymbol = *arguments.decimalSymbol;
  if (arguments.characterSet) layout.characterSet = *CharacterSet::Named(*arguments.characterSet);
  return layout;
}

int NumberingBase(const LayoutArguments& arguments) {
  return arguments.countFrom ? static_cast<int>(ToInteger(*arguments.countFrom)) : 1;
}

std::string SeparatorName(SeparatorKind kind) {
  switch (kind) {
    case SeparatorKind::Comma: return "comma";
    case SeparatorKind::Tab: return "tab";
    case SeparatorKind::Space: return "space";
    case SeparatorKind::Custom: return "custom";
    case SeparatorKind::Fixed: return "fixed";
  }
  return "fixed";
}

namespace {

// Names the file in `file` and loads it as OpenDataFile says; a section without fields leaves
// it named but not loaded.
SavedLayoutRead LoadDataFile(OpenFile& file, const std::string& dataPath, const LayoutArguments& arguments) {
  const SavedSection place = SavedSectionOf(dataPath);
  const SavedSection saved = arguments.source.value_or(place);
  file.SetFolder(place.folder);
  file.ChooseFile(dataPath, dataPath);
  file.SetNumberingBase(NumberingBase(arguments));
  // The command line's numbers were checked before, so a number that fails here was saved.
  try {
    if (!arguments.fromSchema && !arguments.source) {
      file.SetLayout(ApplyLayoutArguments(file.Layout(), arguments));
      file.Refresh(arguments.lineLength ? RulerLength::FromLayout : RulerLength::FromLineTwo);
      return SavedLayoutRead::Read;
    }
    return file.OpenWithSavedLayout(
        SavedSectionFile(saved), saved.section,
        [&arguments](FileLayout& layout) { layout = ApplyLayoutArguments(layout, arguments); });
  } catch (const ConversionError& error) {
    throw CliError(kExitStopped, saved.schemaPath + " [" + saved.section + "]: " + error.what());
  }
}

}  // namespace

OpenFile OpenDataFile(const std::string& dataPath, const LayoutArguments& arguments) {
  OpenFile file;
  if (LoadDataFile(file, dataPath, arguments) == SavedLayoutRead::NoFields) {
    const SavedSection saved = arguments.source.value_or(SavedSectionOf(dataPath));
    throw CliError(kExitStopped, saved.schemaPath + ": " + NoFieldsMessage(saved.section));
  }
  return file;
}

OpenFile OpenFromSchemaList(const std::string& dataPath, LayoutArguments arguments) {
  arguments.fromSchema = true;
  OpenFile file;
  LoadDataFile(file, dataPath, arguments);
  return file;
}

void PrintCutMessages(const std::string& dataPath, const OpenFile& file, std::ostream& err) {
  if (!file.IsFixedView() && file.Preview().unclosedLine > 0) {
    PrintMessage(err, dataPath + ": " + UnclosedValueMessage(file.Preview().unclosedLine));
  }
  for (const std::string& cut : file.CutMessages()) PrintMessage(err, dataPath + ": " + cut);
}

}  // namespace quorlin
