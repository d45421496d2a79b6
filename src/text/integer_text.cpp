// Whole numbers typed into the number boxes.
#include "text/integer_text.h"

#include <limits>
#include <optional>
#include <ostream>

#include "text/record_splitter.h"

namespace quorlin {

namespace {

int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

std::optional<long long> Parse(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;

  // Accumulated as a magnitude so that the most negative value still fits.
  const unsigned long long limit =
      static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + (negative ? 1 : 0);
  unsigned long long magnitude = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    if (magnitude > (limit - static_cast<unsigned long long>(digit)) / base) return std::nullopt;
    magnitude = magnitude * base + static_cast<unsigned long long>(digit);
  }
  if (!negative) return static_cast<long long>(magnitude);
  return magnitude == 0 ? 0 : -static_cast<long long>(magnitude - 1) - 1;
}

}  // namespace

long long ToInteger(std::string_view text) {
  if (const auto value = Parse(text)) return *value;
  throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

NumberText::NumberText(std::string text) : text_(std::move(text)), value_(Parse(text_)) {}

NumberText::NumberText(long long value) : text_(std::to_string(value)), value_(value) {}

long long NumberText::Value() const {
  if (!value_) throw ConversionError("'" + text_ + "' is not a valid integer value");
  return *value_;
}

void PrintTo(const NumberText& number, std::ostream* out) { *out << '"' << number.Text() << '"'; }

}  // namespace quorlin
