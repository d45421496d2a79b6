#include "text/character_set.h"

#include <iconv.h>

#include <ostream>

#include "platform/ascii_case.h"
#include "platform/trim.h"

namespace quorlin {

namespace {

struct KnownSet {
  std::string name;
  CharacterSetKind kind;
  std::string converter;
};

const std::vector<KnownSet>& KnownSets() {
  static const std::vector<KnownSet> sets = [] {
    std::vector<KnownSet> known = {{"OEM", CharacterSetKind::Legacy, ""},
                                   {"UTF-8", CharacterSetKind::Utf8, "UTF-8"},
                                   {"ANSI", CharacterSetKind::SingleByte, "WINDOWS-1252"}};
    for (int page = 1250; page <= 1258; ++page) {
      known.push_back({"Windows-" + std::to_string(page), CharacterSetKind::SingleByte,
                       "WINDOWS-" + std::to_string(page)});
    }
    // There never was a part 12.
    for (int part = 1; part <= 15; ++part) {
      if (part == 12) continue;
      const std::string name = "ISO-8859-" + std::to_string(part);
      known.push_back({name, CharacterSetKind::SingleByte, name});
    }
    for (const char* page : {"CP437", "CP850", "CP852"}) {
      known.push_back({page, CharacterSetKind::SingleByte, page});
    }
    known.push_back({"UTF-16LE", CharacterSetKind::Utf16Le, "UTF-16LE"});
    known.push_back({"UTF-16BE", CharacterSetKind::Utf16Be, "UTF-16BE"});
    return known;
  }();
  return sets;
}

bool ConverterExists(const std::string& converter) {
  const iconv_t probe = iconv_open("UTF-8", converter.c_str());
  if (probe == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(probe);
  return true;
}

}  // namespace

std::optional<CharacterSet> CharacterSet::Named(std::string_view value) {
  const std::string_view trimmed = Trim(value);
  for (const KnownSet& known : KnownSets()) {
    if (!EqualNoCase(trimmed, known.name)) continue;
    if (!known.converter.empty() && !ConverterExists(known.converter)) return std::nullopt;
    return CharacterSet(known.name, known.kind, known.converter);
  }
  return std::nullopt;
}

CharacterSet CharacterSet::Utf8() { return *Named("UTF-8"); }
CharacterSet CharacterSet::Ansi() { return *Named("ANSI"); }
CharacterSet CharacterSet::Utf16(bool bigEndian) { return *Named(bigEndian ? "UTF-16BE" : "UTF-16LE"); }

std::string CharacterSet::UnknownMessage(std::string_view value) {
  return "CharacterSet=" + std::string(value) +
         " names no character set this program can read (UTF-8, ANSI, OEM, Windows-1250 to "
         "Windows-1258, ISO-8859-1 to ISO-8859-15, CP437, CP850, CP852, UTF-16LE, UTF-16BE)";
}

int CharacterSet::CodePage() const {
  if (name_ == "ANSI") return 1252;
  if (name_.starts_with("Windows-")) return std::stoi(name_.substr(8));
  if (name_ == "CP437" || name_ == "CP850" || name_ == "CP852") return std::stoi(name_.substr(2));
  return 0;
}

const std::vector<std::string>& CharacterSetNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const KnownSet& known : KnownSets()) all.push_back(known.name);
    return all;
  }();
  return names;
}

void PrintTo(const CharacterSet& set, std::ostream* out) { *out << set.Name(); }

}  // namespace quorlin
