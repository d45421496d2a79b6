// The lines of an INI file's bytes: section headers, key lines and everything else.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin::ini {

enum class LineKind { Section, Key, Other };

// One line of the text, located by offsets so that an edit can splice the original bytes.
struct Line {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed
  std::size_t begin = 0;       // first byte of the line
  std::size_t end = 0;         // end of the content, before CR LF or LF
  std::size_t next = 0;        // first byte of the following line
  std::size_t valueBegin = 0;  // where a replacement value goes: after "=" and the blanks after it
};

// The one rule by which section and key names match: blanks around them ignored, ASCII
// letters without regard to case.
bool SameName(std::string_view a, std::string_view b);

// The line of `text` that starts at `begin`; lines end at LF, and a CR before it belongs to the end.
Line LineAt(std::string_view text, std::size_t begin);

// The line end new lines get: LF when the file's first line ends in a bare LF, else CR LF.
std::string LineEndOf(std::string_view text);

}  // namespace quorlin::ini
