#include "platform/strftime_formats.h"

#include <cctype>

namespace quorlin {

namespace {

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 128; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string_view Expansion(char conversion) {
  switch (conversion) {
    case 'D': return "%m/%d/%y";
    case 'F': return "%Y-%m-%d";
    case 'R': return "%H:%M";
    case 'T': return "%H:%M:%S";
    case 'r': return "%I:%M:%S %p";
    default: return {};
  }
}

// Hands each conversion letter (flags, width and the E and O modifiers skipped, composite
// conversions expanded) to `conversion` and every other byte to `literal`.
template <typename OnConversion, typename OnLiteral>
void Walk(std::string_view format, OnConversion&& conversion, OnLiteral&& literal) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      literal(format[i]);
      continue;
    }
    ++i;
    while (i < format.size() && std::string_view("_-0^#123456789EO").find(format[i]) != std::string_view::npos) ++i;
    if (i == format.size()) return;
    if (format[i] == '%') {
      literal('%');
    } else if (const std::string_view composite = Expansion(format[i]); !composite.empty()) {
      Walk(composite, conversion, literal);
    } else {
      conversion(format[i]);
    }
  }
}

std::string_view DateField(char conversion) {
  switch (conversion) {
    case 'd': case 'e': return "dd";
    case 'm': return "MM";
    case 'b': case 'h': return "MMM";
    case 'B': return "MMMM";
    case 'y': return "yy";
    // The century and the two-digit year together make a four-digit year.
    case 'C': return "yy";
    case 'Y': case 'G': return "yyyy";
    default: return {};
  }
}

}  // namespace

std::string ShortDateFormatFromStrftime(std::string_view format) {
  std::string out;
  // Literal letters would read as day, month or year, and text before the first field (a
  // weekday's punctuation) would pass for the separator, so both are left out.
  Walk(
      format, [&](char c) { out += DateField(c); },
      [&](char c) {
        if (!out.empty() && !IsAsciiLetter(c)) out += c;
      });
  const std::size_t lastField = out.find_last_of("dMy");
  return lastField == std::string::npos ? std::string() : out.substr(0, lastField + 1);
}

char DateSeparatorOf(std::string_view shortDateFormat) {
  const std::size_t afterField = shortDateFormat.find_first_not_of("dMy");
  if (afterField == std::string_view::npos) return '/';
  const char c = shortDateFormat[afterField];
  return IsAscii(c) && !IsAsciiLetter(c) ? c : '/';
}

char TimeSeparatorFromStrftime(std::string_view format) {
  char separator = 0;
  bool afterConversion = false;
  Walk(
      format, [&](char) { afterConversion = true; },
      [&](char c) {
        if (separator == 0 && afterConversion && IsAscii(c) && std::ispunct(static_cast<unsigned char>(c))) {
          separator = c;
        }
      });
  return separator != 0 ? separator : ':';
}

}  // namespace quorlin
