// The bounds that keep a preview's memory small whatever the file holds, and what is said when
// a bound cut something.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// The preview shows at most this many columns: a line of millions of fields would otherwise
// take far more memory than its bytes.
inline constexpr std::size_t kMaxPreviewColumns = 65536;

// A line longer than this is cut for the preview and the ruler: a file without line ends is
// one line as long as the file.
inline constexpr std::size_t kMaxShownLineBytes = std::size_t{16} << 20;

// The cells or lines a preview keeps take at most about this much memory; the lines after
// that are left out.
inline constexpr std::size_t kMaxPreviewBytes = std::size_t{32} << 20;

// What a kept text costs, its bookkeeping included.
inline std::size_t KeptCost(std::string_view text) { return text.size() + sizeof(std::string); }

// "Line 1 holds more than 65536 fields; the preview shows the first 65536."
std::string ColumnsCutMessage();
// "Line N holds more than 16777216 bytes; only the first 16777216 are shown."
std::string LineCutMessage(long long lineNumber);
// "Only the first N lines are shown: a preview holds at most 33554432 bytes."
std::string LinesCutMessage(std::size_t linesShown);

}  // namespace quorlin
