// The character set a data file is written in, as its layout names it.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlin {

// How the bytes of a set become characters.
enum class CharacterSetKind {
  Legacy,      // what every layout meant before it could name a set: UTF-8 where valid, else Latin-1
  Utf8,
  SingleByte,  // a code page of one byte per character
  Utf16Le,
  Utf16Be,
};

// One of the sets a layout can name, by the name its CharacterSet key saves.
class CharacterSet {
 public:
  // The legacy default, saved as "OEM".
  CharacterSet() = default;

  // The set a CharacterSet value names, compared without regard to case: "UTF-8", "ANSI"
  // (Windows-1252), "OEM", "Windows-1250" to "Windows-1258", "ISO-8859-1" to "ISO-8859-15",
  // "CP437", "CP850", "CP852", "UTF-16LE", "UTF-16BE". Nothing for any other value, or for a
  // set the C library cannot convert.
  static std::optional<CharacterSet> Named(std::string_view value);
  static CharacterSet Utf8();
  static CharacterSet Ansi();
  static CharacterSet Utf16(bool bigEndian);

  // "CharacterSet=<value>" cannot be read: the message naming the key and the value.
  static std::string UnknownMessage(std::string_view value);

  // The name the key saves: "OEM", "UTF-8", "ANSI", "Windows-1252", ...
  const std::string& Name() const { return name_; }
  CharacterSetKind Kind() const { return kind_; }
  bool IsWide() const { return kind_ == CharacterSetKind::Utf16Le || kind_ == CharacterSetKind::Utf16Be; }
  // The set's name for iconv; empty for the legacy default.
  const std::string& ConverterName() const { return converter_; }
  // The Windows or DOS code page number of a single-byte set that has one (437, 850, 852,
  // 1250..1258; ANSI is 1252), else 0.
  int CodePage() const;

  bool operator==(const CharacterSet& other) const { return name_ == other.name_; }

 private:
  CharacterSet(std::string name, CharacterSetKind kind, std::string converter)
      : name_(std::move(name)), kind_(kind), converter_(std::move(converter)) {}

  std::string name_ = "OEM";
  CharacterSetKind kind_ = CharacterSetKind::Legacy;
  std::string converter_;
};

// Every name a layout may choose, in the order the window lists them.
const std::vector<std::string>& CharacterSetNames();

void PrintTo(const CharacterSet& set, std::ostream* out);

}  // namespace quorlin
