#include "export/value_reading.h"

#include <cmath>

#include "platform/trim.h"

namespace quorlin {

std::optional<std::int64_t> ReadWholeNumber(std::string_view text, const LocaleSettings& locale,
                                            std::int64_t minimum, std::int64_t maximum) {
  if (const std::optional<std::int64_t> plain = ReadPlainWholeDigits(Trim(text))) {
    if (*plain < minimum || *plain > maximum) return std::nullopt;
    return plain;
  }
  const NumberReading value = ReadNumber(text, locale);
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
