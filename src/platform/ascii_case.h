// Letter case of ASCII letters for names, type words and keywords; every other byte is compared
// and kept exactly.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

inline char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Inline, as they answer most calls by the sizes alone.
inline bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(start[i])) return false;
  }
  return true;
}
inline bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}
bool ContainsNoCase(std::string_view text, std::string_view part);

// Every occurrence of `from` (compared without regard to case) replaced by `to`, left to right.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

}  // namespace quorlin
