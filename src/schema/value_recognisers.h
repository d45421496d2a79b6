// What kind of value a text holds: blank, numeric, boolean, date.
#pragma once

#include <optional>
#include <string_view>

#include "platform/locale_settings.h"
#include "platform/trim.h"

namespace quorlin {

// A calendar date with a time of day. The zero value, 30 December 1899 at midnight, stands
// for "no date" and is also the day a time alone falls on.
struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool operator==(const DateTime&) const = default;
};

// Inline, as every value of a typed export is asked.
inline bool IsBlank(std::string_view text) {
  for (const char c : text) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}
// Not blank and the trimmed text is a number for the locale's floating-point parser.
bool IsNumeric(std::string_view text, const LocaleSettings& locale);
// IsNumeric and no "." character anywhere in the text.
bool IsWholeNumber(std::string_view text, const LocaleSettings& locale);
bool IsBoolean(std::string_view text);
bool IsDate(std::string_view text, const LocaleSettings& locale);
// A day of the calendar, in the years 1 to 9999 that dates are read in.
bool IsValidDate(int year, int month, int day);
// The date of the text, or DateTime{} when IsDate is false.
DateTime ToDateTime(std::string_view text, const LocaleSettings& locale);
// IsDate and ToDateTime in one reading of the text: the date, or nothing.
std::optional<DateTime> ReadDateTime(std::string_view text, const LocaleSettings& locale);

}  // namespace quorlin
