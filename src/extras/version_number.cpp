#include "extras/version_number.h"

#include <charconv>

#include "platform/trim.h"

namespace quorlin {

namespace {

// Nine digits always fit the part's type; longer numbers are not versions.
constexpr std::size_t kMaxDigits = 9;

}  // namespace

std::optional<VersionNumber> ParseVersion(std::string_view text) {
  text = Trim(text);
  VersionNumber version;
  for (std::size_t index = 0;; ++index) {
    if (index == version.parts.size()) return std::nullopt;
    const std::size_t dot = text.find('.');
    const std::string_view number = text.substr(0, dot);
    if (number.empty() || number.size() > kMaxDigits) return std::nullopt;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), version.parts[index]);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    if (dot == std::string_view::npos) return version;
    text.remove_prefix(dot + 1);
  }
}

void PrintTo(const VersionNumber& version, std::ostream* out) {
  *out << version.parts[0] << '.' << version.parts[1] << '.' << version.parts[2] << '.'
       << version.parts[3];
}

}  // namespace quorlin
