// INI ("profile") file access by full path; every call goes straight to the file.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorlin {

// What a read makes of a file that is there but cannot be read (no permission, a folder or
// a named pipe at the path, a folder on the way that cannot be entered).
enum class Unreadable {
  ReadsAsMissing,  // every read gives its default, as for a missing file
  Raises,          // every read raises FileError("Cannot read <path>: <cause>")
};

// Section and key names match without regard to case, blanks around them ignored.
// A write rewrites only the line it concerns (or appends the key or section) and leaves
// every other byte alone; the new file replaces the old one atomically (RewriteFile), so a
// failed write leaves the old file intact and raises FileError("Unable to write to <path>"),
// and writes by other processes never interleave with it.
class ProfileFile {
 public:
  explicit ProfileFile(std::string path, Unreadable unreadable = Unreadable::ReadsAsMissing);

  const std::string& Path() const { return path_; }

  // The stored value, or `fallback` when file, section or key is missing; cut at 2047 bytes.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;
  // Every key of the section with its value as ReadString gives it, in file order, from one
  // read of the file; empty when file or section is missing.
  std::vector<std::pair<std::string, std::string>> ReadSection(const std::string& section) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

  // Decimal with optional sign, or hexadecimal after 0x, 0X or $; anything else gives `fallback`.
  long ReadInteger(const std::string& section, const std::string& key, long fallback) const;
  void WriteInteger(const std::string& section, const std::string& key, long value);

  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Section names in file order, as many whole names as fit in 16,384 bytes; a missing file
  // gives an empty list.
  std::vector<std::string> ReadSections() const;
  // Whether the file has the section, wherever it stands.
  bool HasSection(const std::string& section) const;
  void EraseSection(const std::string& section);
  // Erases the section and appends it anew holding `keys` in order, in one write, so the file
  // never holds half a section and a long section costs one rewrite, not one per key.
  void ReplaceSection(const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& keys);

 private:
  std::optional<std::string> Text() const;

  std::string path_;
  Unreadable unreadable_;
};

}  // namespace quorlin
