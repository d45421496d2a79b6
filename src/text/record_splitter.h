// The one rule by which a delimited record is cut into field values.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// A blank is any byte of code 0 to 32; to trim is to remove blanks from both ends. Inline,
// as every value of every record is trimmed.
inline bool IsBlankChar(char c) { return static_cast<unsigned char>(c) <= 32; }
inline std::string_view Trim(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && IsBlankChar(*first)) ++first;
  while (last != first && IsBlankChar(last[-1])) --last;
  return {first, static_cast<std::size_t>(last - first)};
}

// Cuts `record` into `fields` (cleared first; always at least one field). `separator` is at
// most one character, empty meaning "no separator". `qualifier` takes effect only when it is
// exactly one character ("{none}" turns quoting off). Linear in the record's length. With
// `maxFields` it stops after that many fields, which are the record's first ones.
void SplitRecord(std::string_view record, std::string_view separator, std::string_view qualifier,
                 std::vector<std::string>& fields,
                 std::size_t maxFields = std::numeric_limits<std::size_t>::max());

// The same fields as SplitRecord, as views into `record` (every field is a part of it), for
// callers that cut millions of records and must not allocate per field. The views are valid
// while `record` is.
void SplitRecordViews(std::string_view record, std::string_view separator,
                      std::string_view qualifier, std::vector<std::string_view>& fields,
                      std::size_t maxFields = std::numeric_limits<std::size_t>::max());

}  // namespace quorlin
