#include "platform/ini_edits.h"

#include <optional>

#include "platform/ini_lines.h"
#include "platform/trim.h"

namespace quorlin::ini {

namespace {

// Where a section and a key in it were found; only the first section of a name counts.
struct Location {
  std::optional<Line> section;
  std::optional<Line> key;
  Line lastOfSection;  // the header or the section's last key line: new keys go after it
};

Location Find(std::string_view text, std::string_view section, std::string_view key) {
  Location found;
  for (std::size_t at = 0; at < text.size();) {
    const Line line = LineAt(text, at);
    at = line.next;
    if (line.kind == LineKind::Section) {
      if (found.section) break;
      if (SameName(line.name, section)) found.section = found.lastOfSection = line;
    } else if (line.kind == LineKind::Key && found.section) {
      found.lastOfSection = line;
      if (SameName(line.name, key)) {
        found.key = line;
        break;
      }
    }
  }
  return found;
}

std::string Spliced(std::string_view text, std::size_t from, std::size_t to, std::string_view insert) {
  std::string out;
  out.reserve(text.size() + insert.size());
  out.append(text.substr(0, from)).append(insert).append(text.substr(to));
  return out;
}

std::string KeyLines(const KeyValues& keys, const std::string& eol) {
  std::string lines;
  for (const auto& [key, value] : keys) lines += std::string(Trim(key)) + "=" + value + eol;
  return lines;
}

std::string Header(std::string_view section, const std::string& eol) {
  return "[" + std::string(Trim(section)) + "]" + eol;
}

// The text with a last line end, so that an appended line starts a line of its own.
std::string Terminated(std::string_view text, const std::string& eol) {
  std::string out(text);
  if (!out.empty() && out.back() != '\n') out += eol;
  return out;
}

// The text without the lines of the sections of the name that `erased` picks (their headers
// among them, when it picks them).
template <typename Picks>
std::string WithoutLinesOf(std::string_view text, std::string_view section, Picks erased) {
  std::string out;
  bool inSection = false;
  for (std::size_t at = 0; at < text.size();) {
    const Line line = LineAt(text, at);
    at = line.next;
    if (line.kind == LineKind::Section) inSection = SameName(line.name, section);
    if (!(inSection && erased(line))) out.append(text.substr(line.begin, line.next - line.begin));
  }
  return out;
}

}  // namespace

bool HasSection(std::string_view text, std::string_view section) {
  return Find(text, section, "").section.has_value();
}

std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key) {
  const Location found = Find(text, section, key);
  if (!found.key) return std::nullopt;
  return found.key->value;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
  const Location found = Find(text, section, key);
  if (found.key) return Spliced(text, found.key->valueBegin, found.key->end, value);

  const std::string eol = LineEndOf(text);
  const std::string keyLine = KeyLines({{std::string(key), std::string(value)}}, eol);
  if (found.section) {
    const Line& anchor = found.lastOfSection;
    const bool unterminated = anchor.next == anchor.end;
    return Spliced(text, anchor.next, anchor.next, (unterminated ? eol : "") + keyLine);
  }
  return Terminated(text, eol) + Header(section, eol) + keyLine;
}

std::string WithoutSection(std::string_view text, std::string_view section) {
  return WithoutLinesOf(text, section, [](const Line& line) { return line.kind != LineKind::Other; });
}

std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key) {
  return WithoutLinesOf(text, section,
                        [key](const Line& line) { return line.kind == LineKind::Key && SameName(line.name, key); });
}

std::string WithSectionKeys(std::string_view text, std::string_view section, const KeyValues& keys) {
  const std::string eol = LineEndOf(text);
  std::string out;
  bool inSection = false;
  bool written = false;
  for (std::size_t at = 0; at < text.size();) {
    const Line line = LineAt(text, at);
    at = line.next;
    if (line.kind == LineKind::Section) {
      inSection = SameName(line.name, section);
      if (inSection) {
        if (!written) {
          out.append(text.substr(line.begin, line.next - line.begin));
          if (line.next == line.end) out += eol;
          out += KeyLines(keys, eol);
          written = true;
        }
        continue;
      }
    }
    if (inSection && line.kind == LineKind::Key) continue;
    out.append(text.substr(line.begin, line.next - line.begin));
  }
  if (written) return out;
  return Terminated(out, eol) + Header(section, eol) + KeyLines(keys, eol);
}

}  // namespace quorlin::ini
