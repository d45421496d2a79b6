// Blanks and trimming: every byte of code 0 to 32 counts as a blank.
#pragma once

#include <string_view>

namespace quorlin {

inline bool IsBlankChar(char c) { return static_cast<unsigned char>(c) <= 32; }

// `text` without the blanks at both ends.
std::string_view Trim(std::string_view text);

// `text` without the blanks at its start.
std::string_view TrimFront(std::string_view text);

}  // namespace quorlin
