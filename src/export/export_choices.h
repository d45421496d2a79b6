// What the export dialog collects, its checks, and the request it turns into.
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "export/export_field_builder.h"
#include "export/export_request.h"
#include "export/export_result.h"
#include "schema/field_layout.h"

namespace quorlin {

// The dialog's boxes as they stand when "&Export" is pressed.
struct ExportChoices {
  ExportFormat format = ExportFormat::CommaDelimited;
  std::string inputPath;
  std::string outputPath;         // the output box as typed
  std::string inputSeparator;     // "," " " a tab, the custom box's text, or empty for Fixed
  bool fixedInput = false;
  CharacterSet characterSet;
  std::string inputQualifierBox = "\"";   // "{none}" means none
  bool hasHeaderRow = false;
  bool includeHeaderRow = false;
  bool includeFieldNames = true;
  std::string title;
  bool translateSpecialChars = true;
  std::string otherChar;
  std::string outputQualifierBox = "\"";  // "{none}" means none
  // Only the command line sets these; the dialog's exports keep the defaults.
  std::string lineEnd = std::string(kLineEnd);
  SqlDialect sqlDialect = SqlDialect::Script;
  bool toStandardOutput = false;
  // Where the saved layout is read, when not from the input file's folder.
  std::optional<SavedSection> savedLayout;
  std::int64_t rowsPerFile = 0;           // Parquet: part files of this many rows, 0 for one file
  OutputCompression compression = OutputCompression::Zstd;
  bool currencyAsDecimal = false;
  // The layout's date order and decimal symbol where they differ from the saved section's
  // (the command line's options); an empty value takes the section's, else the locale's.
  FileConventions conventions;
};

inline constexpr const char* kNoInputFileMessage = "No INPUT File Specified";
inline constexpr const char* kNoOutputFileMessage = "No Output File Specified";
inline constexpr const char* kNoTitleMessage = "No Schema/Template Name Specified";
inline constexpr const char* kNoSavedFieldsMessage =
    "Fields not found in Schema.INI\nmake sure you:\n  1.  Defined each field\n"
    "  2.  Saved the Structure\n\nThen try again";

// A check that stopped the export, with the message the user sees.
struct ExportCheckFailure {
  std::string message;
};

// The checks of "&Export" in order, then the descriptors from the saved section (raising
// SchemaError as BuildExportFields does) and the request for the format's writer.
std::variant<ExportCheckFailure, ExportRequest> PrepareExport(const ExportChoices& choices,
                                                              const ExportContext& context);

// The text of a qualifier box as a qualifier: "{none}" is none.
std::string QualifierFromBox(const std::string& box);

// The title box's text after leaving it: every blank becomes "_".
std::string TitleFromBox(std::string text);

// "File  Successfully Exported" or "File  - Process Failed" after a writer ran.
const char* ResultMessage(const ExportResult& result);
// Whether the warning box follows the result: a success of xBase, Paradox, HTML or XML.
bool WarnsAfter(ExportFormat format, const ExportResult& result);

// Before the dialog opens: the field list on screen must be complete. Gives the message of the
// first fault, or nothing.
std::optional<std::string> ExportStartRefusal(const FieldList& fields);

inline constexpr const char* kNoStructureDefinedMessage =
    "Structure has not been defined\nPlease Press [Refresh] Button\nfollowed by [Guess Field "
    "Types] Button.\nRefine the fields if necessary\nThen press the [Save To Schema] button\n"
    "Then try again";

}  // namespace quorlin
