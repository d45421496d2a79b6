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

bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view start);
bool ContainsNoCase(std::string_view text, std::string_view part);

// Every occurrence of `from` (compared without regard to case) replaced by `to`, left to right.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

}  // namespace quorlin
