#include "platform/trim.h"

namespace quorlin {

std::string_view TrimFront(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlankChar(text[first])) ++first;
  return text.substr(first);
}

}  // namespace quorlin
