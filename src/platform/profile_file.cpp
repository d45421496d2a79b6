#include "platform/profile_file.h"

#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/ini_edits.h"
#include "platform/ini_lines.h"
#include "platform/trim.h"

namespace quorlin {

namespace {

constexpr std::size_t kMaxValueBytes = 2047;
// Room for the names each followed by a NUL and one closing NUL, as the platform's buffer has.
constexpr std::size_t kSectionNamesBytes = 16384;

// A name or value that would end its line, or a key that would read back as something else,
// cannot be stored; refusing it keeps callers from forging other keys of the file.
bool Storable(std::string_view section, std::string_view key, std::string_view value) {
  const auto breaksLine = [](std::string_view text) { return text.find_first_of("\r\n") != text.npos; };
  key = Trim(key);
  return !breaksLine(section) && !breaksLine(value) && !key.empty() && key.front() != ';' &&
         key.front() != '[' && key.find_first_of("=\r\n") == key.npos;
}

std::optional<long> ParseInteger(std::string_view text) {
  int base = 10;
  std::size_t firstDigit = 0;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("+")) {
    text.remove_prefix(1);
  } else if (text.starts_with("-")) {
    firstDigit = 1;  // from_chars reads the minus sign itself
  }
  if (text.size() <= firstDigit || !std::isxdigit(static_cast<unsigned char>(text[firstDigit]))) {
    return std::nullopt;
  }
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

ProfileFile::ProfileFile(std::string path, Unreadable unreadable)
    : path_(std::move(path)), unreadable_(unreadable) {}

std::optional<std::string> ProfileFile::Text() const {
  return unreadable_ == Unreadable::Raises ? ReadExistingFile(path_) : ReadRegularFile(path_);
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  const std::optional<std::string> text = Text();
  if (!text) return fallback;
  const std::optional<std::string_view> value = ini::FindValue(*text, section, key);
  if (!value) return fallback;
  return std::string(value->substr(0, kMaxValueBytes));
}

std::vector<std::pair<std::string, std::string>> ProfileFile::ReadSection(
    const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> keys;
  const std::optional<std::string> text = Text();
  if (!text) return keys;
  bool inSection = false;
  for (std::size_t at = 0; at < text->size();) {
    const ini::Line line = ini::LineAt(*text, at);
    at = line.next;
    if (line.kind == ini::LineKind::Section) {
      // Only the first section of the name counts, as for ReadString.
      if (inSection) break;
      inSection = ini::SameName(line.name, section);
    } else if (line.kind == ini::LineKind::Key && inSection) {
      keys.emplace_back(line.name, line.value.substr(0, kMaxValueBytes));
    }
  }
  return keys;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  if (!Storable(section, key, value)) throw FileError("Unable to write to " + path_);
  RewriteFile(path_, [&](const std::string& text) { return ini::WithValue(text, section, key, value); });
}

long ProfileFile::ReadInteger(const std::string& section, const std::string& key, long fallback) const {
  return ParseInteger(ReadString(section, key, "")).value_or(fallback);
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, long value) {
  WriteString(section, key, std::to_string(value));
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> ProfileFile::ReadSections() const {
  std::vector<std::string> names;
  const std::optional<std::string> text = Text();
  if (!text) return names;
  std::unordered_set<std::string> seen;
  std::size_t used = 1;
  for (std::size_t at = 0; at < text->size();) {
    const ini::Line line = ini::LineAt(*text, at);
    at = line.next;
    if (line.kind != ini::LineKind::Section) continue;
    if (!seen.insert(AsciiLower(line.name)).second) continue;
    // Only whole names are listed: one that no longer fits ends the list.
    used += line.name.size() + 1;
    if (used > kSectionNamesBytes) break;
    names.emplace_back(line.name);
  }
  return names;
}

bool ProfileFile::HasSection(const std::string& section) const {
  const std::optional<std::string> text = Text();
  return text && ini::HasSection(*text, section);
}

void ProfileFile::EraseSection(const std::string& section) {
  RewriteFile(path_, [&](const std::string& text) -> std::optional<std::string> {
    std::string erased = ini::WithoutSection(text, section);
    if (erased.size() == text.size()) return std::nullopt;
    return erased;
  });
}

void ProfileFile::ReplaceSection(const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& keys) {
  for (const auto& [key, value] : keys) {
    if (!Storable(section, key, value)) throw FileError("Unable to write to " + path_);
  }
  if (!Storable(section, "x", "")) throw FileError("Unable to write to " + path_);
  RewriteFile(path_, [&](const std::string& text) {
    const std::string eol = ini::LineEndOf(text);
    std::string out = ini::WithoutSection(text, section);
    if (!out.empty() && out.back() != '\n') out += eol;
    out += "[" + std::string(Trim(section)) + "]" + eol;
    for (const auto& [key, value] : keys) out += std::string(Trim(key)) + "=" + value + eol;
    return std::optional<std::string>(std::move(out));
  });
}

}  // namespace quorlin
