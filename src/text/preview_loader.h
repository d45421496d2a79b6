// The preview of a delimited file: its first lines cut into fields.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace quorlin {

struct PreviewOptions {
  std::string separator;          // "," " " "\t", the custom character, or empty
  std::string qualifier = "\"";   // the qualifier box's text, passed to SplitRecord as it is
  bool hasHeaderRow = false;
  long long startRow = 1;         // below 1 counts as 1
  long long rowsToScan = 25;      // below 1 counts as 25
  int numberingBase = 1;          // 0 or 1
};

// The preview shows at most this many columns: line 1 of a file whose lines end with line
// feeds alone is the whole file, and millions of columns would exhaust the memory.
inline constexpr std::size_t kMaxPreviewColumns = 262144;

struct PreviewTable {
  std::vector<std::string> numbers;  // grid row 0: field numbers from numberingBase
  std::vector<std::string> names;    // grid row 1: header texts or "Field" + number
  std::vector<std::vector<std::string>> rows;  // shown data lines, each exactly names.size() cells
  bool columnsCut = false;  // line 1 has more than kMaxPreviewColumns fields

  bool operator==(const PreviewTable&) const = default;
};

// Fields that still begin with the qualifier text, as after a blank that hid it from the
// splitter, are shown without their first and last character.
void StripLeftQualifier(std::string& field, const std::string& qualifier);

// What the window and the command line say when the columns were cut.
std::string ColumnsCutMessage();

// Reads line 1 for the columns and names, then the lines from the start row on, at most
// rowsToScan of them. Only the lines shown are read, so the size of the file does not matter.
// Raises FileError when the file cannot be opened or read.
PreviewTable LoadPreview(const std::string& path, const PreviewOptions& options);

void PrintTo(const PreviewTable& table, std::ostream* out);

}  // namespace quorlin
