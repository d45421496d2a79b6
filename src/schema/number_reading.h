// The value of a numeric text: one reading for the export, the driver and the writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale_settings.h"

namespace quorlin {

enum class NumberOutcome { Read, NotANumber, OutOfRange };

// Reads like std::optional<double>: true, and the value under *, only when a number was read.
struct NumberReading {
  NumberOutcome outcome = NumberOutcome::NotANumber;
  double value = 0;

  explicit operator bool() const { return outcome == NumberOutcome::Read; }
  double operator*() const { return value; }
};

// The value of a text IsNumeric accepts (blanks around it, the locale's decimal separator, an
// exponent; a lone separator reads as zero), rounded to the nearest double, so that a number
// nearer zero than any double reads as zero. IsNumeric accepts every number a long double
// holds: one beyond the largest double is OutOfRange, and any other text NotANumber.
NumberReading ReadNumber(std::string_view text, const LocaleSettings& locale);

// Digits with at most one "." and an optional minus, fifteen digits at most: the exact double
// of a number the recogniser accepts, read without its checks; false for any other text.
bool ReadShortPlainDecimal(std::string_view text, double& value);

// An optional sign and decimal digits only, as most whole numbers of a file are written: their
// value read without the general reader's checks; nothing for any other text, and for digits
// beyond a 64-bit integer, which the general reader then takes.
std::optional<std::int64_t> ReadPlainWholeDigits(std::string_view text);

// The `count` decimal digits at `text[at]` onward as a number; false where the text ends first
// or one of them is not a digit. Inline, as dates read it for every run of their digits.
inline bool ReadDigitRun(std::string_view text, std::size_t at, std::size_t count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
    if (digit > 9) return false;
    value = value * 10 + static_cast<int>(digit);
  }
  return true;
}

// An optional sign, then digits with at most one decimal separator.
bool IsPlainDecimal(std::string_view text, char separator);

// Why a text that reads as OutOfRange has no value, in the same words wherever it is refused.
std::string NumberOutOfRangeMessage(std::string_view text);

}  // namespace quorlin
