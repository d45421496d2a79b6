// Field texts converted to typed values, and typed values written as text.
#include "odbc/driver/cell_value.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "odbc/driver/sql_error.h"
#include "schema/number_reading.h"
#include "text/record_splitter.h"

namespace quorlin::driver {

namespace {

[[noreturn]] void NotA(std::string_view field, const char* what) {
  throw SqlError(state::kBadValue, "\"" + std::string(field) + "\" is not " + what);
}

struct IntegerRange {
  std::int64_t low;
  std::int64_t high;
  const char* name;
};

IntegerRange RangeOf(ColumnKind kind) {
  switch (kind) {
    case ColumnKind::TinyInt:
      return {0, 255, "a Byte (0 to 255)"};
    case ColumnKind::SmallInt:
      return {-32768, 32767, "a Short (-32768 to 32767)"};
    case ColumnKind::BigInt:
      return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
              "a whole number of 64 bits"};
    default:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
              "an Integer (-2147483648 to 2147483647)"};
  }
}

// A whole number's digits as to_chars writes them: no sign but a minus, no leading zero, no "-0".
bool IsCanonicalWhole(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  return !digits.empty() && digits.front() != '+' && !(digits.front() == '0' && (digits.size() > 1 || negative));
}

// `text` is the field trimmed; messages quote the field as it stands.
CellValue ConvertInteger(std::string_view field, std::string_view text, ColumnKind kind, const LocaleSettings& locale) {
  const IntegerRange range = RangeOf(kind);
  std::optional<std::int64_t> value = ReadPlainWholeDigits(text);
  const bool plain = value.has_value();
  if (!plain) {
    // Not plain digits: a whole number written with an exponent or a zero fraction still counts.
    const double real = FieldNumber(field, locale, "a whole number");
    if (std::trunc(real) != real) NotA(field, "a whole number");
    if (real < static_cast<double>(range.low) || real > static_cast<double>(range.high)) {
      throw SqlError(state::kOutOfRange, "\"" + std::string(field) + "\" is out of range for " + range.name);
    }
    value = static_cast<std::int64_t>(real);
  }
  if (*value < range.low || *value > range.high) {
    throw SqlError(state::kOutOfRange, "\"" + std::string(field) + "\" is out of range for " + range.name);
  }
  CellValue number = CellValue::Of(*value);
  if (plain && IsCanonicalWhole(text)) number.form = text;
  return number;
}

CellValue::Kind DateKindOf(ColumnKind kind) {
  return kind == ColumnKind::Date   ? CellValue::Kind::Date
         : kind == ColumnKind::Time ? CellValue::Kind::Time
                                    : CellValue::Kind::Timestamp;
}

CellValue ConvertDateTime(std::string_view field, ColumnKind kind, const LocaleSettings& locale) {
  CellValue value;
  if (const std::optional<DateTime> when = ReadDateTime(field, locale)) {
    value.when = *when;
  } else if (!ParseIsoDateTime(field, DateKindOf(kind), value.when)) {
    // ISO dates such as 2024-03-01 mean one date in every locale, so they are read too.
    NotA(field, kind == ColumnKind::Time ? "a time" : "a date");
  }
  switch (kind) {
    case ColumnKind::Date:
      value.kind = CellValue::Kind::Date;
      value.when.hour = value.when.minute = value.when.second = value.when.millisecond = 0;
      break;
    case ColumnKind::Time:
      value.kind = CellValue::Kind::Time;
      value.when.millisecond = 0;
      break;
    default:
      value.kind = CellValue::Kind::Timestamp;
      break;
  }
  return value;
}

CellValue ConvertBit(std::string_view field, const LocaleSettings& locale) {
  CellValue value;
  value.kind = CellValue::Kind::Bit;
  if (IsBoolean(field)) {
    const std::string_view word = Trim(field);
    const char first = static_cast<char>(word.front() & ~0x20);
    // TRUE, YES and ON are true; FALSE, NO and OFF false ("ON" and "OFF" share their O).
    value.integer = first == 'T' || first == 'Y' || (first == 'O' && word.size() == 2 && (word[1] & ~0x20) == 'N');
    value.form = BitForm(value.integer);
    return value;
  }
  value.integer = FieldNumber(field, locale, "a Bit (True, False, Yes, No, On, Off or a number)") != 0;
  return value;
}

// "00" to "99", so that digits are written two at a time.
constexpr auto kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int n = 0; n < 100; ++n) {
    pairs[2 * n] = static_cast<char>('0' + n / 10);
    pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

// `number` (0 to 9999) with leading zeros to `width` digits, written at `at`; unrolled and two
// digits at a time, as dates and times are in every row of a large result.
[[gnu::always_inline]] inline void PutPadded(char* at, int number, int width) {
  for (int k = width; k >= 2; k -= 2, number /= 100) std::memcpy(at + k - 2, &kDigitPairs[2 * (number % 100)], 2);
  if (width % 2 != 0) at[0] = static_cast<char>('0' + number % 10);
}

void AppendPadded(std::string& out, int number, int width) {
  char digits[4];
  PutPadded(digits, number, width);
  out.append(digits, static_cast<std::size_t>(width));
}

// Written whole and appended once: dates and times are in every row of a large result.
void AppendDate(std::string& out, const DateTime& when) {
  char date[10] = {0, 0, 0, 0, '-', 0, 0, '-', 0, 0};
  PutPadded(date, when.year, 4);
  PutPadded(date + 5, when.month, 2);
  PutPadded(date + 8, when.day, 2);
  out.append(date, sizeof date);
}

void AppendTime(std::string& out, const DateTime& when) {
  char time[8] = {0, 0, ':', 0, 0, ':', 0, 0};
  PutPadded(time, when.hour, 2);
  PutPadded(time + 3, when.minute, 2);
  PutPadded(time + 6, when.second, 2);
  out.append(time, sizeof time);
}

bool IsoDate(std::string_view text, DateTime& value) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  if (!ReadDigitRun(text, 0, 4, value.year) || !ReadDigitRun(text, 5, 2, value.month) || !ReadDigitRun(text, 8, 2, value.day)) {
    return false;
  }
  return IsValidDate(value.year, value.month, value.day);
}

bool IsoTime(std::string_view text, DateTime& value) {
  if (text.size() < 8 || text[2] != ':' || text[5] != ':') return false;
  if (!ReadDigitRun(text, 0, 2, value.hour) || !ReadDigitRun(text, 3, 2, value.minute) || !ReadDigitRun(text, 6, 2, value.second)) {
    return false;
  }
  value.millisecond = 0;
  if (text.size() > 8) {
    if (text[8] != '.' || text.size() == 9) return false;
    int scale = 100;
    for (std::size_t i = 9; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      value.millisecond += (text[i] - '0') * scale;
      scale /= 10;
    }
  }
  return value.hour < 24 && value.minute < 60 && value.second < 60;
}

// The shortest exact form to_chars writes for a number ReadShortPlainDecimal reads, where it has a
// whole part that is not zero and a fraction that is not: fifteen digits at most tell its double
// apart from that of every other such number, so its shortest digits are its own without the
// zeros that end the fraction, and written out they are shorter than with an exponent. Empty
// for any other number.
std::string_view ShortestPlainForm(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::size_t whole = !text.empty() && text.front() == '-' ? 1 : 0;
  if (point == std::string_view::npos || point == whole || text[whole] == '0') return {};
  std::size_t end = text.size();
  while (end > point + 1 && text[end - 1] == '0') --end;
  return end == point + 1 ? std::string_view() : text.substr(0, end);
}

}  // namespace

double FieldNumber(std::string_view text, const LocaleSettings& locale, const char* what) {
  const NumberReading number = ReadNumber(text, locale);
  if (number.outcome == NumberOutcome::OutOfRange) {
    throw SqlError(state::kOutOfRange, NumberOutOfRangeMessage(text));
  }
  if (!number) NotA(text, what);
  return *number;
}

bool ParseIsoDateTime(std::string_view text, CellValue::Kind kind, DateTime& value) {
  value = DateTime{};
  text = Trim(text);
  switch (kind) {
    case CellValue::Kind::Date:
      return IsoDate(text, value);
    case CellValue::Kind::Time:
      return IsoTime(text, value);
    case CellValue::Kind::Timestamp:
      if (text.size() == 10) return IsoDate(text, value);
      return text.size() > 11 && text[10] == ' ' && IsoDate(text.substr(0, 10), value) &&
             IsoTime(text.substr(11), value);
    default:
      return false;
  }
}

CellValue ValueOfStoredText(std::string_view text, ColumnKind kind) {
  if (kind == ColumnKind::Date || kind == ColumnKind::Time || kind == ColumnKind::Timestamp) {
    CellValue when;
    const CellValue::Kind dateKind = DateKindOf(kind);
    if (ParseIsoDateTime(text, dateKind, when.when)) {
      when.kind = dateKind;
      return when;
    }
  }
  return CellValue::Of(text);
}

void AsStoredDateTime(CellValue& value, ColumnKind kind, std::string& text) {
  // A date whose ISO text reads back as the same date skips writing and reading that text.
  if (value.kind == CellValue::Kind::Date && kind == ColumnKind::Date && IsValidDate(value.when.year, value.when.month, value.when.day)) {
    value.when.hour = value.when.minute = value.when.second = value.when.millisecond = 0;
    value.form = {};
    return;
  }
  text.clear();
  AppendCharacterForm(value, text);
  value = ValueOfStoredText(text, kind);
  // The text it was read back from is its character form.
  if (value.kind != CellValue::Kind::Text) value.form = text;
}

namespace {

// ConvertField past its texts, apart so that a text, a third of the fields of a usual table,
// does not pay for setting up all that converting the other kinds takes.
[[gnu::noinline]] CellValue ConvertTypedField(std::string_view field, ColumnKind kind, const LocaleSettings& locale) {
  // Blanks alone hold no number, date or bit.
  const std::string_view trimmed = Trim(field);
  if (trimmed.empty()) return CellValue::Null();
  switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::LongText:
      return CellValue::Of(field);
    case ColumnKind::TinyInt:
    case ColumnKind::SmallInt:
    case ColumnKind::Integer:
    case ColumnKind::BigInt:
      return ConvertInteger(field, trimmed, kind, locale);
    case ColumnKind::Double: {
      CellValue value;
      value.kind = CellValue::Kind::Double;
      if (locale.decimalSeparator == '.' && ReadShortPlainDecimal(trimmed, value.real)) {
        value.form = ShortestPlainForm(trimmed);
        return value;
      }
      value.real = FieldNumber(field, locale, "a number");
      return value;
    }
    case ColumnKind::Date:
    case ColumnKind::Time:
    case ColumnKind::Timestamp:
      return ConvertDateTime(field, kind, locale);
    case ColumnKind::Bit:
      return ConvertBit(field, locale);
  }
  return CellValue::Of(field);
}

}  // namespace

CellValue ConvertField(std::string_view field, ColumnKind kind, const LocaleSettings& locale) {
  if (field.empty()) return CellValue::Null();
  if (kind == ColumnKind::Text || kind == ColumnKind::LongText) return CellValue::Of(field);
  return ConvertTypedField(field, kind, locale);
}

void AppendCharacterForm(const CellValue& value, std::string& out) {
  if (!value.form.empty()) {
    out.append(value.form);
    return;
  }
  switch (value.kind) {
    case CellValue::Kind::Null:
      return;
    case CellValue::Kind::Text:
      out.append(value.text);
      return;
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit: {
      char buffer[24];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.integer);
      out.append(buffer, result.ptr);
      return;
    }
    case CellValue::Kind::Double: {
      char buffer[32];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.real);
      out.append(buffer, result.ptr);
      return;
    }
    case CellValue::Kind::Date:
      AppendDate(out, value.when);
      return;
    case CellValue::Kind::Time:
      AppendTime(out, value.when);
      return;
    case CellValue::Kind::Timestamp:
      AppendDate(out, value.when);
      out += ' ';
      AppendTime(out, value.when);
      if (value.when.millisecond != 0) {
        out += '.';
        AppendPadded(out, value.when.millisecond, 3);
      }
      return;
  }
}

}  // namespace quorlin::driver
