// The one rule by which a fixed-length line is cut into its fields.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace quorlin {

// One view into `line` per item of `items`, each the next `widthOf(item)` bytes (fewer at the
// line's end, empty past it). Nothing is trimmed; bytes after the last field are ignored. The
// export takes its widths from its field descriptors and the ODBC driver from its table
// layout, so the width is read through `widthOf`.
template <typename Items, typename WidthOf>
void CutFixedFields(std::string_view line, const Items& items, WidthOf widthOf,
                    std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t at = 0;
  for (const auto& item : items) {
    const std::size_t width = widthOf(item);
    const std::size_t from = std::min(at, line.size());
    fields.push_back(line.substr(from, std::min(width, line.size() - from)));
    at = from + width;
  }
}

}  // namespace quorlin
