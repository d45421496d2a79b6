#include "export/export_values.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/ascii_case.h"
#include "text/fixed_fields.h"
#include "text/record_splitter.h"
#include "text/utf8_text.h"

namespace quorlin {

void CutFixedRecord(std::string_view line, const ExportFields& fields, RecordValues& values) {
  CutFixedFields(
      line, fields,
      [](const ExportField& field) { return field.inputWidth > 0 ? static_cast<std::size_t>(field.inputWidth) : 0; },
      values);
}

bool IsTrueWord(std::string_view value) {
  static constexpr std::array<std::string_view, 6> kTrueWords = {"TRUE", "T", "YES",
                                                                  "Y",    "ON", "1"};
  const std::string_view trimmed = Trim(value);
  for (const std::string_view word : kTrueWords) {
    if (EqualNoCase(trimmed, word)) return true;
  }
  return false;
}

namespace {

// Characters an XML document may hold: tab, line feed, carriage return, and from blank up,
// except the surrogates and the two non-characters U+FFFE and U+FFFF.
bool IsXmlChar(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c < 0xD800 || (c >= 0xE000 && c <= 0xFFFD) || c >= 0x10000;
}

void AppendReference(std::string& out, char32_t codePoint) {
  char text[16];
  char* end = text + sizeof text;
  char* at = end;
  *--at = ';';
  do {
    *--at = static_cast<char>('0' + codePoint % 10);
    codePoint /= 10;
  } while (codePoint != 0);
  *--at = '#';
  *--at = '&';
  out.append(at, static_cast<std::size_t>(end - at));
}

}  // namespace

// Bytes that TranslateSpecialChars copies unchanged: printable ASCII but "&", "<" and ">",
// and the tab, line feed and carriage return.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int c = 0x20; c < 0x80; ++c) plain[c] = c != '&' && c != '<' && c != '>';
  plain['\t'] = plain['\n'] = plain['\r'] = true;
  return plain;
}();

namespace {

// Whether all eight bytes of `word` are printable ASCII other than "&", "<" and ">", found
// without looking at the bytes one by one: most values are plain text throughout.
bool AllPlain(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const auto hasZeroByte = [](std::uint64_t x) { return ((x - kOnes) & ~x & kHighBits) != 0; };
  if ((word & kHighBits) != 0) return false;
  if (((word - kOnes * 0x20) & ~word & kHighBits) != 0) return false;  // a byte below blank
  return !hasZeroByte(word ^ (kOnes * '&')) && !hasZeroByte(word ^ (kOnes * '<')) &&
         !hasZeroByte(word ^ (kOnes * '>'));
}

// The number of bytes at the start of `text` that are copied unchanged.
std::size_t PlainRun(std::string_view text) {
  std::size_t plain = 0;
  for (std::uint64_t word; text.size() - plain >= sizeof word; plain += sizeof word) {
    std::memcpy(&word, text.data() + plain, sizeof word);
    if (!AllPlain(word)) break;
  }
  while (plain < text.size() && kPlainBytes[static_cast<unsigned char>(text[plain])]) ++plain;
  return plain;
}

}  // namespace

void AppendTranslated(std::string& out, std::string_view value) {
  std::string_view rest = Trim(value);
  while (!rest.empty()) {
    const std::size_t plain = PlainRun(rest);
    out.append(rest.data(), plain);
    rest.remove_prefix(plain);
    if (rest.empty()) break;
    const char c = rest.front();
    std::size_t length = 1;
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (static_cast<unsigned char>(c) >= 0x80) {
      char32_t codePoint = 0;
      length = Utf8SequenceAt(rest, codePoint);
      if (length == 0) {
        AppendReference(out, static_cast<unsigned char>(c));
        length = 1;
      } else if (IsXmlChar(codePoint)) {
        AppendReference(out, codePoint);
      }
    }
    // Anything else is a control character XML cannot hold: dropped.
    rest.remove_prefix(length);
  }
}

std::string ShownTitle(std::string_view title) {
  std::string shown(title);
  for (char& c : shown) {
    if (c == '_') c = ' ';
  }
  return shown;
}

std::string TranslateSpecialChars(std::string_view value) {
  std::string out;
  AppendTranslated(out, value);
  return out;
}

}  // namespace quorlin
