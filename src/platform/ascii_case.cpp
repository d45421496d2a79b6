#include "platform/ascii_case.h"

namespace quorlin {

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  return AsciiLower(text).find(AsciiLower(part)) != std::string::npos;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  const std::string lowerText = AsciiLower(text);
  const std::string lowerFrom = AsciiLower(from);
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t hit = lowerText.find(lowerFrom); hit != std::string::npos;
       hit = lowerText.find(lowerFrom, done)) {
    out.append(text.substr(done, hit - done));
    out.append(to);
    done = hit + from.size();
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace quorlin
