#include "export/export_values.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/ascii_case.h"
#include "export/translated_text.h"
#include "text/fixed_fields.h"
#include "text/record_splitter.h"
#include "text/utf8_text.h"

namespace quorlin {

void CutFixedRecord(std::string_view line, const ExportFields& fields, RecordValues& values,
                    FixedUnit unit) {
  CutFixedFields(
      line, fields,
      [](const ExportField& field) { return field.inputWidth > 0 ? static_cast<std::size_t>(field.inputWidth) : 0; },
      values, unit);
}

// Only the words of the value's length can match it: every value of a Bit column is read here.
std::optional<bool> TruthOf(std::string_view value) {
  const std::string_view word = Trim(value);
  const auto is = [word](std::string_view capitals) { return EqualNoCase(word, capitals); };
  switch (word.size()) {
    case 1:
      if (word == "1" || is("T") || is("Y")) return true;
      if (word == "0" || is("F") || is("N")) return false;
      break;
    case 2:
      if (is("ON")) return true;
      if (is("NO")) return false;
      break;
    case 3:
      if (is("YES")) return true;
      if (is("OFF")) return false;
      break;
    case 4:
      if (is("TRUE")) return true;
      break;
    case 5:
      if (is("FALSE")) return false;
      break;
  }
  return std::nullopt;
}

bool IsTrueWord(std::string_view value) { return TruthOf(value) == true; }

namespace {

// Characters an XML document may hold: tab, line feed, carriage return, and from blank up,
// except the surrogates and the two non-characters U+FFFE and U+FFFF.
bool IsXmlChar(char32_t c) {
  if (c < 0x20) return c == '\t' || c == '\n' || c == '\r';
  return c < 0xD800 || (c >= 0xE000 && c <= 0xFFFD) || c >= 0x10000;
}

// Writes "&#<code point>;" at `out`; gives its end.
char* PutReference(char* out, char32_t codePoint) {
  char text[16];
  char* const end = text + sizeof text;
  char* at = end;
  do {
    *--at = static_cast<char>('0' + codePoint % 10);
    codePoint /= 10;
  } while (codePoint != 0);
  *out++ = '&';
  *out++ = '#';
  const auto digits = static_cast<std::size_t>(end - at);
  std::memcpy(out, at, digits);
  out += digits;
  *out++ = ';';
  return out;
}

// What becomes of each byte on its own: copied, an entity, the start of a character above
// 127, or dropped (a control character XML cannot hold).
enum class ByteRole : unsigned char { Copied, Ampersand, LessThan, GreaterThan, High, Dropped };

constexpr std::array<ByteRole, 256> kByteRoles = [] {
  std::array<ByteRole, 256> roles{};
  for (int c = 0; c < 256; ++c) {
    if (c >= 0x80) {
      roles[c] = ByteRole::High;
    } else if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      roles[c] = ByteRole::Dropped;
    } else {
      roles[c] = ByteRole::Copied;
    }
  }
  roles['&'] = ByteRole::Ampersand;
  roles['<'] = ByteRole::LessThan;
  roles['>'] = ByteRole::GreaterThan;
  return roles;
}();

}  // namespace

char* PutTranslatedBytes(char* out, std::string_view trimmed) {
  const char* at = trimmed.data();
  const char* const end = at + trimmed.size();
  while (at != end) {
    // Eight plain bytes are copied as one word; `out` has room for them, as it has room for
    // six bytes for each one left.
    if (end - at >= 8) {
      std::uint64_t word;
      std::memcpy(&word, at, sizeof word);
      if (translated_text::AllPlain(word)) {
        std::memcpy(out, &word, sizeof word);
        out += sizeof word;
        at += sizeof word;
        continue;
      }
    }
    const char c = *at;
    switch (kByteRoles[static_cast<unsigned char>(c)]) {
      case ByteRole::Copied:
        *out++ = c;
        break;
      case ByteRole::Ampersand:
        std::memcpy(out, "&amp;", 5);
        out += 5;
        break;
      case ByteRole::LessThan:
        std::memcpy(out, "&lt;", 4);
        out += 4;
        break;
      case ByteRole::GreaterThan:
        std::memcpy(out, "&gt;", 4);
        out += 4;
        break;
      case ByteRole::High: {
        char32_t codePoint = 0;
        const std::size_t length =
            Utf8SequenceAt(std::string_view(at, static_cast<std::size_t>(end - at)), codePoint);
        if (length == 0) {
          out = PutReference(out, static_cast<unsigned char>(c));
        } else {
          if (IsXmlChar(codePoint)) out = PutReference(out, codePoint);
          at += length - 1;
        }
        break;
      }
      case ByteRole::Dropped:
        break;
    }
    ++at;
  }
  return out;
}

std::string ShownTitle(std::string_view title) {
  std::string shown(title);
  for (char& c : shown) {
    if (c == '_') c = ' ';
  }
  return shown;
}

std::string TranslateSpecialChars(std::string_view value) {
  std::string out(value.size() * kMostTranslatedBytesPerByte, '\0');
  out.resize(static_cast<std::size_t>(PutTranslated(out.data(), value) - out.data()));
  return out;
}

}  // namespace quorlin
