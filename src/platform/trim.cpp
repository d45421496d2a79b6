#include "platform/trim.h"

namespace quorlin {

std::string_view TrimFront(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlankChar(text[first])) ++first;
  return text.substr(first);
}

std::string_view Trim(std::string_view text) {
  text = TrimFront(text);
  std::size_t last = text.size();
  while (last > 0 && IsBlankChar(text[last - 1])) --last;
  return text.substr(0, last);
}

}  // namespace quorlin
