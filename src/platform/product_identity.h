// The program's name and web address, as credited in the files it produces.
#pragma once

#include <string_view>

namespace quorlin {

inline constexpr std::string_view kProductName = "Quorlin";
inline constexpr std::string_view kProductWebAddress = "https://quorlin.org/";

}  // namespace quorlin
