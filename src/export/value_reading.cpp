#include "export/value_reading.h"

#include <charconv>
#include <cmath>
#include <string>

#include "text/record_splitter.h"

namespace quorlin {

std::optional<double> ReadNumber(std::string_view text, const LocaleSettings& locale) {
  if (!IsNumeric(text, locale)) return std::nullopt;
  std::string number(Trim(text));
  if (number.front() == '+') number.erase(0, 1);
  for (char& c : number) {
    if (c == locale.decimalSeparator) c = '.';
  }
  // The recognisers read a lone separator, with or without a sign, as zero.
  const std::size_t digitsAt = number.front() == '-' ? 1 : 0;
  if (number.compare(digitsAt, std::string::npos, ".") == 0) return 0.0;
  double value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::int64_t> ReadWholeNumber(std::string_view text, const LocaleSettings& locale,
                                            std::int64_t minimum, std::int64_t maximum) {
  const std::optional<double> value = ReadNumber(text, locale);
  if (!value || *value != std::trunc(*value) || *value < static_cast<double>(minimum) ||
      *value > static_cast<double>(maximum)) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(*value);
}

std::optional<DateTime> ReadCalendarDate(std::string_view text, const LocaleSettings& locale) {
  const std::optional<DateTime> date = ReadDateTime(text, locale);
  if (!date || (date->year == DateTime{}.year && date->month == DateTime{}.month &&
                date->day == DateTime{}.day)) {
    return std::nullopt;
  }
  return date;
}

}  // namespace quorlin
