#include "export/engines/date_patterns.h"

#include <array>

namespace quorlin {

namespace {

struct Piece {
  std::string_view layout;
  std::array<std::string_view, 3> engine;  // Strftime, MySql, Java
};

// Longest first, so that "yyyy" is not read as two "yy".
constexpr Piece kPieces[] = {
    {"yyyy", {"%Y", "%Y", "yyyy"}}, {"yy", {"%y", "%y", "yy"}},     {"MMMM", {"%B", "%M", "MMMM"}},
    {"MMM", {"%b", "%b", "MMM"}},   {"MM", {"%m", "%m", "MM"}},     {"M", {"%-m", "%c", "M"}},
    {"dd", {"%d", "%d", "dd"}},     {"d", {"%-d", "%e", "d"}},      {"HH", {"%H", "%H", "HH"}},
    {"H", {"%-H", "%k", "H"}},      {"hh", {"%I", "%h", "hh"}},     {"h", {"%-I", "%l", "h"}},
    {"mm", {"%M", "%i", "mm"}},     {"ss", {"%S", "%s", "ss"}},     {"AM/PM", {"%p", "%p", "a"}},
    {"AM", {"%p", "%p", "a"}},      {"PM", {"%p", "%p", "a"}}};

}  // namespace

std::string EnginePattern(std::string_view layoutPattern, PatternStyle style) {
  std::string result;
  std::size_t at = 0;
  while (at < layoutPattern.size()) {
    const Piece* matched = nullptr;
    for (const Piece& piece : kPieces) {
      if (layoutPattern.substr(at, piece.layout.size()) == piece.layout) {
        matched = &piece;
        break;
      }
    }
    if (matched) {
      result += matched->engine[static_cast<std::size_t>(style)];
      at += matched->layout.size();
      continue;
    }
    const char c = layoutPattern[at++];
    if (style != PatternStyle::Java && c == '%') result += '%';
    if (style == PatternStyle::Java && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'')) {
      result += c == '\'' ? "''" : "'" + std::string(1, c) + "'";
      continue;
    }
    result += c;
  }
  return result;
}

bool PatternHasTime(std::string_view layoutPattern) {
  return layoutPattern.find_first_of("hH") != std::string_view::npos;
}

}  // namespace quorlin
