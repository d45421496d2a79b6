// The layout model: file-level settings and the ordered field list, held as texts.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schema/file_conventions.h"
#include "text/integer_text.h"
#include "text/preview_loader.h"

namespace quorlin {

// The fourteen type words of the text driver, in the order of the type box; the index is what
// structure guessing produces.
inline constexpr std::array<std::string_view, 14> kFieldTypeNames = {
    "Bit",  "Byte",    "Char", "Currency", "Date",  "DateTime", "Time",
    "Float", "Integer", "Long", "LongChar", "Short", "Single",   "Double"};

inline constexpr std::string_view kUnknownType = "Unknown";

// The date-format box's entries, the first one empty.
inline constexpr std::array<std::string_view, 15> kDateFormats = {
    "",         "yyyy/MM/dd", "yy/MM/dd",     "dd/MM/yyyy",   "dd/MM/yy",
    "MM/dd/yy", "dd MMM yy",  "dd MMM yyyy",  "dd MMMM yyyy", "HH:mm",
    "HH:mm:ss", "hh:mm AM",   "hh:mm:ss AM",  "yyyy/MM/dd hh:mm:ss AM",
    "yyyy/MM/dd HH:mm:ss"};

struct FieldSpec {
  std::string name;
  std::string typeName = std::string(kUnknownType);
  std::string width = "0";            // "0" means not set
  std::optional<std::string> format;  // no entry, or an entry that may be empty

  bool operator==(const FieldSpec&) const = default;
};

using FieldList = std::vector<FieldSpec>;

enum class SeparatorKind { Comma, Tab, Space, Custom, Fixed };

// The file-level settings. The numbers keep the text they were given, which is what a section
// saves, beside the whole number it holds.
struct FileLayout {
  SeparatorKind separator = SeparatorKind::Comma;
  std::string customSeparator;     // at most one character
  std::string textQualifier = "\"";
  bool hasHeaderRow = false;
  NumberText startRow = "1";
  NumberText rowsToScan = "25";
  NumberText fixedLength = "80";   // the line length of a fixed-length layout
  FileConventions conventions;     // the file's date order and decimal symbol

  bool operator==(const FileLayout&) const = default;
};

// The text SplitRecord cuts with: "," "\t" " ", the custom box's first character, or empty
// (Fixed has none).
std::string SeparatorText(const FileLayout& layout);

// "Field" followed by the number.
std::string DefaultFieldName(long long number);

// The preview loader's options for `layout`. Raises ConversionError for a start row or rows
// count that is not a whole number.
PreviewOptions PreviewOptionsFor(const FileLayout& layout, int numberingBase);

// The field list a fresh preview gives: one untyped field of width "0" per column name.
FieldList DefaultFields(const std::vector<std::string>& names);

void PrintTo(SeparatorKind kind, std::ostream* out);
void PrintTo(const FieldSpec& field, std::ostream* out);
void PrintTo(const FileLayout& layout, std::ostream* out);

}  // namespace quorlin
