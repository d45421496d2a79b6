// One Schema.INI section written from the layout and its fields.
#include "schema/schema_writer.h"

#include <algorithm>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/folder_files.h"
#include "platform/trim.h"
#include "schema/schema_file.h"
#include "text/byte_order_mark.h"
#include "text/field_mark.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {

std::string FormatValue(const FileLayout& layout) {
  switch (layout.separator) {
    case SeparatorKind::Space:
      return "Delimited( )";
    case SeparatorKind::Tab:
      return "TABDelimited";
    case SeparatorKind::Comma:
      return "CSVDelimited";
    case SeparatorKind::Custom:
      // A file read as its bytes keeps the byte its section has always held; any other saves
      // the character as UTF-8.
      return "Delimited(" + MarkBytes(SeparatorText(layout), DecodesLines(layout.characterSet, RecordForm::Delimited)) + ")";
    case SeparatorKind::Fixed:
      break;
  }
  return "FixedLength";
}

std::string OdbcTypeWord(const std::string& typeName) {
  std::string word = typeName;
  if (ContainsNoCase(word, "long") && !ContainsNoCase(word, "char")) {
    word = ReplaceAllNoCase(word, "Long", "Integer");
  }
  if (ContainsNoCase(word, "time") && !ContainsNoCase(word, "char")) {
    word = ReplaceAllNoCase(word, "DateTime", "Date");
    word = ReplaceAllNoCase(word, "Time", "Date");
  }
  return word;
}

std::string QuotedEntryName(const std::string& name) {
  const bool needsQuotes = name.starts_with('"') || std::any_of(name.begin(), name.end(), IsBlankChar);
  if (!needsQuotes) return name;
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

std::string FieldEntry(const FieldSpec& field, std::size_t number, bool odbcOnly) {
  const std::string name = Trim(field.name).empty() ? DefaultFieldName(static_cast<long long>(number)) : field.name;
  std::string entry = QuotedEntryName(name) + " " + (odbcOnly ? OdbcTypeWord(field.typeName) : field.typeName);
  // A byte-wise comparison, so "00" and "7" count as set while "0", "" and "-1" do not.
  if (field.width > "0") entry += " WIDTH " + field.width;
  if (!odbcOnly && field.format && !Trim(*field.format).empty()) entry += " FMT " + *field.format;
  return entry;
}

namespace {

std::vector<std::pair<std::string, std::string>> SectionKeys(const FileLayout& layout,
                                                             const FieldList& fields, bool odbcOnly) {
  const std::string format = FormatValue(layout);
  std::vector<std::pair<std::string, std::string>> keys = {
      {"ColNameHeader", layout.hasHeaderRow ? "True" : "False"}, {"Format", format}};
  if (format == "FixedLength") keys.emplace_back("FixedLength", layout.fixedLength.Text());
  keys.emplace_back("MaxScanRows", layout.rowsToScan.Text());
  keys.emplace_back("CharacterSet", layout.characterSet.Name());
  // Written only when set, so a section without them stays as it always was.
  if (!layout.conventions.dateOrder.empty()) keys.emplace_back("DateTimeFormat", layout.conventions.dateOrder);
  if (!layout.conventions.decimalSymbol.empty()) keys.emplace_back("DecimalSymbol", layout.conventions.decimalSymbol);
  for (std::size_t n = 0; n < fields.size(); ++n) {
    keys.emplace_back("Col" + std::to_string(n + 1), FieldEntry(fields[n], n + 1, odbcOnly));
  }
  return keys;
}

}  // namespace

bool SchemaFileWriter(ProfileFile& file, const std::string& section, const FileLayout& layout,
                      const FieldList& fields, bool odbcOnly) {
  // One write replaces the whole section, so a failure leaves the layout saved last intact.
  try {
    file.ReplaceSection(section, SectionKeys(layout, fields, odbcOnly));
  } catch (const FileError&) {
    return false;
  }
  return true;
}

std::optional<std::string> MissingWidthMessage(const FieldList& fields) {
  for (const FieldSpec& field : fields) {
    if (field.typeName.find("Char") != std::string::npos && field.width == "0") {
      return "Width for " + field.name + " has not been set";
    }
  }
  return std::nullopt;
}

std::string SectionNameFor(const std::string& inputBoxText) {
  const std::size_t slash = inputBoxText.rfind('/');
  return std::string(Trim(slash == std::string::npos ? inputBoxText : inputBoxText.substr(slash + 1)));
}

SaveOutcome SaveToSchema(const std::string& folder, const std::string& section,
                         const FileLayout& layout, const FieldList& fields, bool odbcOnly,
                         const std::string& inputPath) {
  const std::string shownFolder = WithTrailingSlash(folder);
  SaveOutcome outcome;
  std::string schemaPath = shownFolder + "Schema.INI";
  std::optional<std::string> cause;
  try {
    ProfileFile file = OpenSchemaFile(shownFolder);
    schemaPath = file.Path();
    std::optional<std::string> refusal = InputFileRefusal(inputPath, file.Path());
    if (!refusal && !inputPath.empty()) refusal = WideTextRefusal(inputPath);
    if (refusal) {
      outcome.refused = true;
      outcome.message = std::move(*refusal);
      return outcome;
    }
    file.ReplaceSection(section, SectionKeys(layout, fields, odbcOnly));
    outcome.written = true;
  } catch (const FileError& error) {
    // "Unable to write to" the schema file says no more than the message itself.
    if (error.what() != "Unable to write to " + schemaPath) cause = error.what();
  }
  if (outcome.written) {
    outcome.message = shownFolder + "Schema.INI\n Has been updated With \n---> " + section +
                      "\nand " + (odbcOnly ? "in ODBC Format" : "in Extended Format");
  } else {
    outcome.message = shownFolder + "Schema.INI\n Has NOT been updated with \n---> " + section;
    if (cause) outcome.message += "\n" + *cause;
  }
  return outcome;
}

void PrintTo(const SaveOutcome& outcome, std::ostream* out) {
  *out << (outcome.written ? "written: " : outcome.refused ? "refused: " : "not written: ") << outcome.message;
}

}  // namespace quorlin
