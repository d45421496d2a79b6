// Program versions of up to four numbers, "1.0.1.22", compared number by number.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

namespace quorlin {

struct VersionNumber {
  std::array<std::uint32_t, 4> parts{};
  auto operator<=>(const VersionNumber&) const = default;
};

// One to four decimal numbers joined with "."; numbers left out count as 0, so "2.0" equals
// "2.0.0.0". Blanks around the text are ignored. Nothing for anything else.
std::optional<VersionNumber> ParseVersion(std::string_view text);

void PrintTo(const VersionNumber& version, std::ostream* out);

}  // namespace quorlin
