#include "export/typed_values.h"

#include <cstdint>
#include <cstring>

#include "export/checked_copy.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether all eight bytes are printable ASCII other than a quote and a backslash.
bool AllJsonPlain(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const std::uint64_t quotes = word ^ (kOnes * '"');
  const std::uint64_t backslashes = word ^ (kOnes * '\\');
  const std::uint64_t marks = ((quotes - kOnes) & ~quotes) | ((backslashes - kOnes) & ~backslashes) |
                              ((word - kOnes * 0x20) & ~word) | word;
  return (marks & kHighBits) == 0;
}

// Copies the valid UTF-8 character at the start of `rest`, or puts U+FFFD for its first byte;
// gives how many bytes of `rest` were used.
std::size_t PutCharacter(char*& out, std::string_view rest, std::size_t& replaced) {
  char32_t code = 0;
  const std::size_t length = Utf8SequenceAt(rest, code);
  if (length == 0) {
    std::memcpy(out, kReplacement, 3);
    out += 3;
    ++replaced;
    return 1;
  }
  std::memcpy(out, rest.data(), length);
  out += length;
  return length;
}

}  // namespace

char* PutPaddedDecimal(char* out, long long value, int width, char pad) {
  char digits[24];
  char* const end = digits + sizeof digits;
  char* at = end;
  const bool negative = value < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  // Blanks fill the whole width, sign included; zeros only the digits' part of it.
  const int length = static_cast<int>(end - at) + (negative && pad == ' ' ? 1 : 0);
  const int padding = width > length ? width - length : 0;
  if (pad == ' ') out = static_cast<char*>(std::memset(out, ' ', static_cast<std::size_t>(padding))) + padding;
  if (negative) *out++ = '-';
  if (pad != ' ') out = static_cast<char*>(std::memset(out, pad, static_cast<std::size_t>(padding))) + padding;
  std::memcpy(out, at, static_cast<std::size_t>(end - at));
  return out + (end - at);
}

DateParts DatePartsOf(ExportFieldType type, const DateTime& value) {
  if (type == ExportFieldType::Time) return DateParts::Time;
  if (type == ExportFieldType::Date && value.hour == 0 && value.minute == 0 && value.second == 0) {
    return DateParts::Day;
  }
  return DateParts::DayAndTime;
}

char* PutIsoDateTime(char* out, const DateTime& value, DateParts parts, char between) {
  if (parts != DateParts::Time) {
    out = PutPaddedDecimal(out, value.year, 4);
    *out++ = '-';
    out = PutPaddedDecimal(out, value.month, 2);
    *out++ = '-';
    out = PutPaddedDecimal(out, value.day, 2);
    if (parts == DateParts::Day) return out;
    *out++ = between;
  }
  out = PutPaddedDecimal(out, value.hour, 2);
  *out++ = ':';
  out = PutPaddedDecimal(out, value.minute, 2);
  *out++ = ':';
  return PutPaddedDecimal(out, value.second, 2);
}

bool IsNumberType(ExportFieldType type) {
  switch (type) {
    case ExportFieldType::Byte:
    case ExportFieldType::Currency:
    case ExportFieldType::Integer:
    case ExportFieldType::Long:
    case ExportFieldType::Float:
    case ExportFieldType::Single:
    case ExportFieldType::Double:
      return true;
    default:
      return false;
  }
}

std::optional<char*> PutPlainNumber(char* out, std::string_view trimmed, const LocaleSettings& locale) {
  const auto read = [&](char point) -> std::optional<char*> {
    const char* at = trimmed.data();
    const char* const end = at + trimmed.size();
    char* put = out;
    if (at != end && (*at == '+' || *at == '-')) {
      if (*at == '-') *put++ = '-';
      ++at;
    }
    const char* const whole = at;
    while (at != end && IsDigit(*at)) ++at;
    const char* const wholeEnd = at;
    const char* fraction = at;
    const char* fractionEnd = at;
    if (at != end && *at == point) {
      fraction = ++at;
      while (at != end && IsDigit(*at)) ++at;
      fractionEnd = at;
    }
    if (whole == wholeEnd && fraction == fractionEnd) return std::nullopt;
    const char* exponent = at;
    if (at != end && (*at == 'e' || *at == 'E')) {
      ++at;
      if (at != end && (*at == '+' || *at == '-')) ++at;
      const char* const digits = at;
      while (at != end && IsDigit(*at)) ++at;
      if (at == digits) return std::nullopt;
    }
    if (at != end) return std::nullopt;
    const char* first = whole;
    while (wholeEnd - first > 1 && *first == '0') ++first;
    if (first == wholeEnd) {
      *put++ = '0';
    } else {
      std::memcpy(put, first, static_cast<std::size_t>(wholeEnd - first));
      put += wholeEnd - first;
    }
    if (fraction != fractionEnd) {
      *put++ = '.';
      std::memcpy(put, fraction, static_cast<std::size_t>(fractionEnd - fraction));
      put += fractionEnd - fraction;
    }
    std::memcpy(put, exponent, static_cast<std::size_t>(end - exponent));
    return put + (end - exponent);
  };
  if (const std::optional<char*> end = read(locale.decimalSeparator)) return end;
  if (locale.decimalSeparator != '.') return read('.');
  return std::nullopt;
}

char* PutValidUtf8(char* out, std::string_view bytes, std::size_t& replaced) {
  const auto ascii = [](std::uint64_t word) { return (word & 0x8080808080808080ULL) == 0; };
  if (CopyCheckedWords(out, bytes.data(), bytes.size(), ascii)) return out + bytes.size();
  while (!bytes.empty()) bytes.remove_prefix(PutCharacter(out, bytes, replaced));
  return out;
}

char* PutJsonStringBody(char* out, std::string_view bytes, std::size_t& replaced) {
  if (CopyCheckedWords(out, bytes.data(), bytes.size(), AllJsonPlain)) return out + bytes.size();
  static constexpr char kHex[] = "0123456789abcdef";
  while (!bytes.empty()) {
    const auto c = static_cast<unsigned char>(bytes.front());
    if (c >= 0x80) {
      bytes.remove_prefix(PutCharacter(out, bytes, replaced));
      continue;
    }
    bytes.remove_prefix(1);
    if (c == '"' || c == '\\') {
      *out++ = '\\';
      *out++ = static_cast<char>(c);
    } else if (c == '\n') {
      *out++ = '\\';
      *out++ = 'n';
    } else if (c == '\r') {
      *out++ = '\\';
      *out++ = 'r';
    } else if (c == '\t') {
      *out++ = '\\';
      *out++ = 't';
    } else if (c < 0x20) {
      std::memcpy(out, "\\u00", 4);
      out[4] = kHex[c >> 4];
      out[5] = kHex[c & 15];
      out += 6;
    } else {
      *out++ = static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace quorlin
