// The one rule by which a fixed-length line is cut into its fields.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "text/utf8_text.h"

namespace quorlin {

// What the widths of a fixed-length layout count: the file's bytes, or the characters of a
// line decoded from a single-byte set (one per byte of the file).
enum class FixedUnit { Bytes, Characters };

// One view into `line` per item of `items`, each the next `widthOf(item)` bytes or characters
// (fewer at the line's end, empty past it). Nothing is trimmed; what follows the last field is
// ignored. The export takes its widths from its field descriptors and the ODBC driver from its
// table layout, so the width is read through `widthOf`.
template <typename Items, typename WidthOf>
void CutFixedFields(std::string_view line, const Items& items, WidthOf widthOf,
                    std::vector<std::string_view>& fields, FixedUnit unit = FixedUnit::Bytes) {
  fields.clear();
  std::size_t at = 0;
  for (const auto& item : items) {
    const std::size_t width = widthOf(item);
    const std::size_t from = std::min(at, line.size());
    if (unit == FixedUnit::Characters) {
      at = Utf8Advance(line, from, width);
      fields.push_back(line.substr(from, at - from));
      continue;
    }
    fields.push_back(line.substr(from, std::min(width, line.size() - from)));
    at = from + width;
  }
}

// How a line read with `decoded` lines is measured.
inline FixedUnit FixedUnitOf(bool decoded) { return decoded ? FixedUnit::Characters : FixedUnit::Bytes; }

// The length of `line` in `unit`.
inline std::size_t FixedLengthOf(std::string_view line, FixedUnit unit) {
  return unit == FixedUnit::Characters ? Utf8CharacterCount(line) : line.size();
}

}  // namespace quorlin
