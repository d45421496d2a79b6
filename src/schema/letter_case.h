// ASCII letter case for type words, keywords and section names; other bytes stay as they are.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

// Whether `text` contains `part`, letters compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view part);

// Every occurrence of `from` (compared without regard to case) replaced by `to`, left to right.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

}  // namespace quorlin
