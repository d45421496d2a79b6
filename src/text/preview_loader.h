// The preview of a delimited file: its first lines cut into fields.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "text/preview_limits.h"

namespace quorlin {

struct PreviewOptions {
  std::string separator;          // "," " " "\t", the custom character, or empty
  std::string qualifier = "\"";   // the qualifier box's text, passed to SplitRecord as it is
  bool hasHeaderRow = false;
  long long startRow = 1;         // below 1 counts as 1
  long long rowsToScan = 25;      // below 1 counts as 25
  int numberingBase = 1;          // 0 or 1
};

struct PreviewTable {
  std::vector<std::string> numbers;  // grid row 0: field numbers from numberingBase
  std::vector<std::string> names;    // grid row 1: header texts or "Field" + number
  std::vector<std::vector<std::string>> rows;  // shown data lines, each exactly names.size() cells
  bool columnsCut = false;  // line 1 has more than kMaxPreviewColumns fields
  long long cutLine = 0;    // the first line cut at kMaxShownLineBytes, 0 when none was
  bool linesCut = false;    // lines left out to stay within kMaxPreviewBytes
  // The first line of a record read as that line alone, as a qualified value in it was not
  // closed (see TextRecordReader); 0 when none was.
  long long unclosedLine = 0;

  bool operator==(const PreviewTable&) const = default;
};

// What the window and the command line say about what the preview left out, one message each.
std::vector<std::string> CutMessages(const PreviewTable& table);

// Fields that still begin with the qualifier text, as after a blank that hid it from the
// splitter, are shown without their first and last character. Only fields that are parts of
// `record` (as SplitRecordViews gives them) can have kept a qualifier: one whose doubled
// qualifiers were made single had its own qualifiers taken off already, and the one it begins
// with is data.
void StripLeftQualifiers(std::vector<std::string_view>& fields, std::string_view record,
                         std::string_view qualifier);

// Reads record 1 for the columns and names, then the records from the start row on, at most
// rowsToScan of them (a record is a line unless a qualified value holds line breaks). Only the lines shown are read, so the size of the file does not matter,
// and the bounds of preview_limits.h keep the memory small whatever the lines hold.
// Raises FileError when the file cannot be opened or read, or the memory runs out.
PreviewTable LoadPreview(const std::string& path, const PreviewOptions& options);

void PrintTo(const PreviewTable& table, std::ostream* out);

}  // namespace quorlin
