// The layout options every file command takes, as the main window's layout controls.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

#include "export/export_field_builder.h"
#include "schema/field_layout.h"
#include "schema/open_file.h"

namespace quorlin {

// What the command line said; an option not given stays empty.
struct LayoutArguments {
  std::optional<std::string> separator;
  std::optional<std::string> qualifier;
  bool headerRow = false;
  std::optional<std::string> startRow;
  std::optional<std::string> rowsToScan;
  std::optional<std::string> countFrom;
  std::optional<std::string> lineLength;
  std::optional<std::string> dateOrder;      // one of kDateOrders
  std::optional<std::string> decimalSymbol;  // one of kDecimalSymbols
  std::optional<std::string> characterSet;
  bool fromSchema = false;
  std::optional<std::string> layoutFile;  // --layout: a Schema.INI anywhere
  std::optional<std::string> section;     // --section: its section to read
  std::optional<std::string> fields;      // --fields "name Type [width], ..."
  // Where the saved layout is read when not from the data file's folder: --layout, or the
  // section --fields was written into (CommandInput sets it).
  std::optional<SavedSection> source;
};

void AddLayoutOptions(CLI::App& command, LayoutArguments& arguments);

// `validator` without the description the help would append to its option's kind, as in
// "NUMBER:POSITIVE": the kind alone says what the option takes.
CLI::Validator WithoutDescription(CLI::Validator validator);
// --layout, --section and --fields, which the commands that read a layout take.
void AddLayoutSourceOptions(CLI::App& command, LayoutArguments& arguments);

// Refuses (CliError, exit 2) a separator text that is no kind and not one character, numbers
// that are not whole, a counting base other than 0 or 1, a date order or decimal symbol that is
// none of the layout's choices, and a character set nobody knows.
void CheckLayoutArguments(const LayoutArguments& arguments);

// `base` with the options given put into it as the window's controls would take them.
FileLayout ApplyLayoutArguments(FileLayout base, const LayoutArguments& arguments);

int NumberingBase(const LayoutArguments& arguments);

// The data file as the main window shows it after Refresh, or after opening it from the schema
// list with --schema, with the arguments in its layout boxes. Raises CliError, FileError and
// SchemaError; a saved number that is not whole stops the work naming the schema file.
OpenFile OpenDataFile(const std::string& dataPath, const LayoutArguments& arguments);

// The data file as the window holds it after a double-click in the schema list, the arguments
// in its layout boxes: loaded with its saved layout, or only named when its section holds no
// fields, so that the caller's own check can say what is missing. Raises as OpenDataFile.
OpenFile OpenFromSchemaList(const std::string& dataPath, LayoutArguments arguments);

// What the preview or the ruler left out, one line each after the file's name.
void PrintCutMessages(const std::string& dataPath, const OpenFile& file, std::ostream& err);

// "comma", "tab", "space", "custom" or "fixed".
std::string SeparatorName(SeparatorKind kind);

}  // namespace quorlin
