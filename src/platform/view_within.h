// Whether one view of bytes lies within another.
#pragma once

#include <cstdint>
#include <string_view>

namespace quorlin {

// Compared as addresses, as the two may be views of different blocks.
inline bool LiesWithin(std::string_view part, std::string_view whole) {
  const auto start = reinterpret_cast<std::uintptr_t>(part.data());
  const auto wholeStart = reinterpret_cast<std::uintptr_t>(whole.data());
  return start >= wholeStart && start + part.size() <= wholeStart + whole.size();
}

}  // namespace quorlin
