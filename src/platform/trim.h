// Blanks and trimming: every byte of code 0 to 32 counts as a blank.
#pragma once

#include <cstddef>
#include <string_view>

namespace quorlin {

inline bool IsBlankChar(char c) { return static_cast<unsigned char>(c) <= 32; }

// `text` without the blanks at both ends. Inline, as every value of every record is trimmed.
inline std::string_view Trim(std::string_view text) {
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && IsBlankChar(*first)) ++first;
  while (last != first && IsBlankChar(last[-1])) --last;
  return {first, static_cast<std::size_t>(last - first)};
}

// `text` without the blanks at its start.
std::string_view TrimFront(std::string_view text);

}  // namespace quorlin
