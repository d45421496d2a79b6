// A saved Schema.INI section read back into a layout and its fields.
#include "schema/schema_reader.h"

#include <array>
#include <climits>
#include <ostream>
#include <unordered_map>

#include "platform/ascii_case.h"
#include "platform/trim.h"
#include "text/record_splitter.h"

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

// Stands for a missing ColN entry; an entry that really holds this text ends the list too.
constexpr const char* kNoEntry = "-1234-";
constexpr std::size_t kMaxFixedFields = 1024;

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string EntryName(const ProfileFile& file, const std::string& section, std::size_t number) {
  return FileNameOf(file.Path()) + " [" + section + "] Col" + std::to_string(number);
}

// A width as plain decimal digits that fits in an int; nothing else can become a ruler
// position or a field cut.
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

void ThrowBadWidth(const ProfileFile& file, const std::string& section, std::size_t number,
                   const std::string& width) {
  const auto allDigits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  const char* fault = "is not a whole number";
  if (allDigits(width)) {
    fault = "is too large";
  } else if (width.starts_with('-') && allDigits(std::string_view(width).substr(1))) {
    fault = "is negative";
  }
  throw SchemaError(EntryName(file, section, number) + ": the width \"" + width + "\" " + fault);
}

// The ColN entries of a section, read from the file once: a layout of a thousand fields would
// otherwise read the whole file a thousand times.
class ColumnEntries {
 public:
  ColumnEntries(const ProfileFile& file, const std::string& section) {
    for (auto& [key, value] : file.ReadSection(section)) {
      byKey_.try_emplace(AsciiLower(key), std::move(value));
    }
  }

  // The entry of "Col" + number, or kNoEntry.
  std::string Entry(std::size_t number) const {
    const auto found = byKey_.find("col" + std::to_string(number));
    return found == byKey_.end() ? kNoEntry : found->second;
  }

 private:
  std::unordered_map<std::string, std::string> byKey_;  // first occurrence of each key
};

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
    saved.customSeparator = format.substr(open + 1, 1);
  } else {
    saved.separator = SeparatorKind::Fixed;
  }
  saved.hasHeaderRow = file.ReadString(section, "ColNameHeader", "False") == "True";
  saved.fixedLength = file.ReadString(section, "FixedLength", "80");
  saved.rowsToScan = file.ReadString(section, "MaxScanRows", "25");
  saved.conventions.dateOrder = KnownChoice(file.ReadString(section, "DateTimeFormat", ""), kDateOrders);
  saved.conventions.decimalSymbol = KnownChoice(file.ReadString(section, "DecimalSymbol", ""), kDecimalSymbols);
  return saved;
}

void SplitColumnEntry(std::string_view entry, std::vector<std::string>& tokens) {
  SplitRecord(entry, " ", "\"", tokens);
}

FieldList ReadFixedFields(const ProfileFile& file, const std::string& section) {
  const ColumnEntries entries(file, section);
  FieldList fields;
  std::vector<std::string> tokens;
  for (std::size_t n = 1; n <= kMaxFixedFields; ++n) {
    const std::string entry = entries.Entry(n);
    if (entry == kNoEntry) break;
    SplitColumnEntry(entry, tokens);
    if (tokens.size() < 4) {
      throw SchemaError(EntryName(file, section, n) + ": the entry \"" + entry + "\" has no width");
    }
    long long width = 0;
    if (!IsWidthText(tokens[3], width)) ThrowBadWidth(file, section, n, tokens[3]);
    FieldSpec field;
    field.name = tokens[0];
    field.typeName = tokens[1];
    field.width = tokens[3];
    field.format = tokens.size() >= 6 ? tokens[5] : std::string();
    fields.push_back(std::move(field));
  }
  return fields;
}

FieldList ReadDelimitedFields(const ProfileFile& file, const std::string& section, std::size_t columns) {
  const ColumnEntries entries(file, section);
  FieldList fields;
  std::vector<std::string> tokens;
  for (std::size_t n = 1; n <= columns; ++n) {
    const std::string entry = entries.Entry(n);
    if (entry == kNoEntry) break;
    SplitColumnEntry(entry, tokens);
    FieldSpec field;
    field.name = tokens[0];
    field.typeName = tokens.size() > 1 ? tokens[1] : std::string();
    field.format = std::string();
    // A keyword without a value after it leaves the field as it is.
    if (tokens.size() > 3) {
      const std::string keyword = AsciiUpper(tokens[2]);
      if (keyword == "WIDTH") {
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
  return layout;
}

void PrintTo(const SavedLayout& saved, std::ostream* out) {
  *out << '{';
  PrintTo(saved.separator, out);
  if (saved.separator == SeparatorKind::Custom) *out << " \"" << saved.customSeparator << '"';
  *out << (saved.hasHeaderRow ? " header" : "") << " FixedLength " << saved.fixedLength << " MaxScanRows "
       << saved.rowsToScan;
  if (saved.conventions != FileConventions{}) {
    *out << ' ';
    PrintTo(saved.conventions, out);
  }
  *out << '}';
}

}  // namespace quorlin
