// A saved Schema.INI section read back into a layout and its fields.
#include "schema/schema_reader.h"

#include <array>
#include <climits>
#include <ostream>

#include "platform/ascii_case.h"
#include "platform/trim.h"
#include "schema/saved_section.h"
#include "text/field_mark.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

// `value` when it is one of `choices` (letter case aside, as written by hand), else empty: the
// locale's choice.
template <std::size_t N>
std::string KnownChoice(const std::string& value, const std::array<std::string_view, N>& choices) {
  const std::string trimmed(Trim(value));
  for (const std::string_view choice : choices) {
    if (AsciiUpper(trimmed) == AsciiUpper(std::string(choice))) return std::string(choice);
  }
  return {};
}

// A width as plain decimal digits that fits in an int.
bool IsWidthText(const std::string& text, long long& value) {
  if (text.empty()) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return false;
  }
  return true;
}

}  // namespace

bool SectionHasFields(const ProfileFile& file, const std::string& section) {
  return file.ReadString(section, "Col1", "Missing") != "Missing";
}

std::string NoFieldsMessage(const std::string& section) {
  return section + "has no associated fields";
}

SavedLayout ReadSavedLayout(const ProfileFile& file, const std::string& section) {
  SavedLayout saved;
  const std::string format = file.ReadString(section, "Format", "CSVDelimited");
  const std::string upper = AsciiUpper(format);
  if (upper.find("CSV") != std::string::npos) {
    saved.separator = SeparatorKind::Comma;
  } else if (upper.find("TAB") != std::string::npos) {
    saved.separator = SeparatorKind::Tab;
  } else if (upper.find("( )") != std::string::npos) {
    saved.separator = SeparatorKind::Space;
  } else if (const std::size_t open = format.find('('); open != std::string::npos) {
    saved.separator = SeparatorKind::Custom;
    // A byte that is no UTF-8 is the Latin-1 character sections of files read as bytes hold.
    saved.customSeparator = AsUtf8(LeadingCharacter(std::string_view(format).substr(open + 1)));
  } else {
    saved.separator = SeparatorKind::Fixed;
  }
  saved.hasHeaderRow = file.ReadString(section, "ColNameHeader", "False") == "True";
  saved.fixedLength = file.ReadString(section, "FixedLength", "80");
  saved.rowsToScan = file.ReadString(section, "MaxScanRows", "25");
  saved.conventions.dateOrder = KnownChoice(file.ReadString(section, "DateTimeFormat", ""), kDateOrders);
  saved.conventions.decimalSymbol = KnownChoice(file.ReadString(section, "DecimalSymbol", ""), kDecimalSymbols);
  const std::string characterSet = file.ReadString(section, "CharacterSet", "OEM");
  const std::optional<CharacterSet> named = CharacterSet::Named(characterSet);
  if (!named) {
    throw SchemaError(SectionPlaceName(file, section) + " " + CharacterSet::UnknownMessage(characterSet));
  }
  saved.characterSet = *named;
  return saved;
}

FieldList ReadFixedFields(const ProfileFile& file, const std::string& section) {
  FieldList fields;
  for (const ColumnEntry& entry : ReadColumnEntries(file, section, {})) {
    FixedEntryWidth(file, section, entry);
    const std::vector<std::string>& tokens = entry.tokens;
    FieldSpec& field = fields.emplace_back();
    field.name = tokens[0];
    field.typeName = tokens[1];
    field.width = tokens[3];
    field.format = tokens.size() >= 6 ? tokens[5] : std::string();
  }
  return fields;
}

FieldList ReadDelimitedFields(const ProfileFile& file, const std::string& section, std::size_t columns) {
  FieldList fields;
  ColumnReading reading;
  reading.limit = columns;
  for (const ColumnEntry& entry : ReadColumnEntries(file, section, reading)) {
    const std::vector<std::string>& tokens = entry.tokens;
    FieldSpec field;
    field.name = tokens[0];
    field.typeName = tokens.size() > 1 ? tokens[1] : std::string();
    field.format = std::string();
    // A keyword without a value after it leaves the field as it is.
    if (tokens.size() > 3) {
      const std::string keyword = AsciiUpper(tokens[2]);
      if (keyword == "WIDTH") {
        CheckedWidth(file, section, entry, tokens[3]);
        field.width = tokens[3];
      } else if (keyword == "FMT") {
        field.format = tokens[3];
      }
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

std::vector<long long> FieldWidths(const FieldList& fields) {
  std::vector<long long> widths;
  widths.reserve(fields.size());
  for (const FieldSpec& field : fields) {
    long long width = 0;
    widths.push_back(IsWidthText(field.width, width) ? width : 0);
  }
  return widths;
}

FileLayout WithSavedLayout(FileLayout layout, const SavedLayout& saved) {
  layout.separator = saved.separator;
  // Only a custom separator brings its character; the box keeps its own otherwise.
  if (saved.separator == SeparatorKind::Custom) layout.customSeparator = saved.customSeparator;
  layout.hasHeaderRow = saved.hasHeaderRow;
  if (saved.hasHeaderRow) layout.startRow = "1";
  layout.fixedLength = saved.fixedLength;
  layout.rowsToScan = saved.rowsToScan;
  layout.conventions = saved.conventions;
  layout.characterSet = saved.characterSet;
  return layout;
}

void PrintTo(const SavedLayout& saved, std::ostream* out) {
  *out << '{';
  PrintTo(saved.separator, out);
  if (saved.separator == SeparatorKind::Custom) *out << " \"" << saved.customSeparator << '"';
  *out << (saved.hasHeaderRow ? " header" : "") << " FixedLength " << saved.fixedLength << " MaxScanRows "
       << saved.rowsToScan << ' ' << saved.characterSet.Name();
  if (saved.conventions != FileConventions{}) {
    *out << ' ';
    PrintTo(saved.conventions, out);
  }
  *out << '}';
}

}  // namespace quorlin
