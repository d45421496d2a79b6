#include "platform/ini_lines.h"

#include <cstring>

#include "platform/ascii_case.h"
#include "platform/line_end.h"
#include "platform/trim.h"

namespace quorlin::ini {

namespace {

std::size_t SkipBlanks(std::string_view text, std::size_t from, std::size_t to) {
  while (from < to && IsBlankChar(text[from])) ++from;
  return from;
}

// A section header is "[" name "]"; the last "]" closes it, so names may hold "]" themselves.
bool ParseSection(std::string_view content, Line& line) {
  const std::size_t open = SkipBlanks(content, 0, content.size());
  if (open == content.size() || content[open] != '[') return false;
  const std::size_t close = content.rfind(']');
  if (close == std::string_view::npos || close < open) return false;
  line.kind = LineKind::Section;
  line.name = Trim(content.substr(open + 1, close - open - 1));
  return true;
}

// Comment lines (";" first) and lines with no name before their "=" are not keys.
bool ParseKey(std::string_view content, Line& line) {
  const std::size_t first = SkipBlanks(content, 0, content.size());
  if (first == content.size() || content[first] == ';') return false;
  const std::size_t equals = content.find('=', first);
  if (equals == std::string_view::npos) return false;
  const std::string_view name = Trim(content.substr(0, equals));
  if (name.empty()) return false;
  line.kind = LineKind::Key;
  line.name = name;
  line.value = Trim(content.substr(equals + 1));
  line.valueBegin = line.begin + SkipBlanks(content, equals + 1, content.size());
  return true;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) { return EqualNoCase(Trim(a), Trim(b)); }

Line LineAt(std::string_view text, std::size_t begin) {
  Line line;
  line.begin = begin;
  const void* lf = std::memchr(text.data() + begin, '\n', text.size() - begin);
  if (lf == nullptr) {
    line.end = line.next = text.size();
  } else {
    const std::size_t at = static_cast<const char*>(lf) - text.data();
    line.next = at + 1;
    line.end = at > begin && text[at - 1] == '\r' ? at - 1 : at;
  }
  // A UTF-8 byte order mark in front of the first line, as editors put it there, is not part
  // of the line; it stays in the file since edits splice the bytes around it.
  const std::size_t mark = begin == 0 && text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  const std::string_view content = text.substr(begin + mark, line.end - begin - mark);
  if (!ParseSection(content, line)) ParseKey(content, line);
  if (line.kind == LineKind::Key) line.valueBegin += mark;
  return line;
}

std::string LineEndOf(std::string_view text) {
  const std::size_t lf = text.find('\n');
  if (lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r')) return "\n";
  return std::string(kLineEnd);
}

}  // namespace quorlin::ini
