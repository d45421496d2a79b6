// Blank, numeric, boolean and date tests on single texts, never failing.
#include "schema/value_recognisers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/ascii_case.h"
#include "platform/trim.h"
#include "schema/number_reading.h"

namespace quorlin {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits as a decimal integer that saturates instead of overflowing, so an
// absurdly long exponent stays a huge number rather than wrapping round.
std::int64_t ReadSaturated(std::string_view digits) {
  constexpr std::int64_t kLimit = 1'000'000'000'000;
  std::int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > kLimit) return kLimit;
  }
  return value;
}

// Whether the number with these digits (decimal point between the two runs) times ten to
// `exponent` rounds to a finite long double. Underflow to zero still counts as in range.
bool FitsLongDouble(std::string_view integerDigits, std::string_view fractionDigits,
                    std::int64_t exponent) {
  // The power below is at most this, so the numbers of everyday files need no closer look.
  if (static_cast<std::int64_t>(integerDigits.size()) + exponent < std::numeric_limits<long double>::max_exponent10) {
    return true;
  }
  const std::size_t integerZeros = std::min(integerDigits.find_first_not_of('0'), integerDigits.size());
  const std::size_t fractionZeros =
      integerZeros < integerDigits.size()
          ? 0
          : std::min(fractionDigits.find_first_not_of('0'), fractionDigits.size());
  if (integerZeros == integerDigits.size() && fractionZeros == fractionDigits.size()) return true;
  // The value is 0.<significant digits> times ten to this power.
  const std::int64_t power = static_cast<std::int64_t>(integerDigits.size()) -
                             static_cast<std::int64_t>(integerZeros + fractionZeros) + exponent;
  if (power > 6000) return false;
  if (power < -6000) return true;
  // Below the largest long double's power of ten no conversion is needed, which keeps the
  // common short numbers cheap.
  if (power < std::numeric_limits<long double>::max_exponent10) return true;
  std::string canonical = "0.";
  canonical.append(integerDigits.substr(integerZeros));
  canonical.append(fractionDigits.substr(fractionZeros));
  canonical += 'e';
  canonical += std::to_string(power);
  long double value = 0;
  const auto result = std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
  if (result.ec == std::errc::result_out_of_range) return power <= 0;
  return result.ec == std::errc() && result.ptr == canonical.data() + canonical.size();
}

// Sign, digits with an optional decimal separator, optional exponent, and nothing else.
bool IsFloatText(std::string_view text, char decimalSeparator) {
  std::size_t pos = 0;
  const auto digitRun = [&]() {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return text.substr(start, pos - start);
  };
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const std::string_view integerDigits = digitRun();
  bool hasSeparator = false;
  std::string_view fractionDigits;
  if (pos < text.size() && text[pos] == decimalSeparator) {
    hasSeparator = true;
    ++pos;
    fractionDigits = digitRun();
  }
  if (integerDigits.empty() && fractionDigits.empty() && !hasSeparator) return false;
  std::int64_t exponent = 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::string_view exponentDigits = digitRun();
    if (exponentDigits.empty()) return false;
    exponent = ReadSaturated(exponentDigits);
    if (negative) exponent = -exponent;
  }
  if (pos != text.size()) return false;
  return FitsLongDouble(integerDigits, fractionDigits, exponent);
}

struct MonthName {
  std::string_view full;
  std::string_view abbreviation;
};

constexpr std::array<MonthName, 12> kMonths = {{{"JANUARY", "JAN"},
                                                {"FEBRUARY", "FEB"},
                                                {"MARCH", "MAR"},
                                                {"APRIL", "APR"},
                                                {"MAY", "MAY"},
                                                {"JUNE", "JUN"},
                                                {"JULY", "JUL"},
                                                {"AUGUST", "AUG"},
                                                {"SEPTEMBER", "SEP"},
                                                {"OCTOBER", "OCT"},
                                                {"NOVEMBER", "NOV"},
                                                {"DECEMBER", "DEC"}}};

// Month names become their numbers and every "/", " " and "-" the locale's date separator,
// so "15 Jan 2002" and "15-JAN-2002" read like "15/1/2002".
std::string NormaliseDateText(std::string_view text, const LocaleSettings& locale) {
  std::string result(Trim(text));
  // Most texts name no month at all: one upper-case copy finds that out, and only a text that
  // names one is built anew.
  std::string upper = AsciiUpper(result);
  // Month names are letters, so a text without any, as most dates are, needs no search at all.
  const bool hasLetters = upper.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos;
  for (std::size_t m = 0; hasLetters && m < kMonths.size(); ++m) {
    for (const std::string_view name : {kMonths[m].full, kMonths[m].abbreviation}) {
      if (upper.find(name) == std::string::npos) continue;
      result = ReplaceAllNoCase(result, name, std::to_string(m + 1));
      upper = AsciiUpper(result);
    }
  }
  for (char& c : result) {
    if (c == '/' || c == ' ' || c == '-') c = locale.dateSeparator;
  }
  return result;
}

// A cursor over the normalised text. Every scan skips the spaces in front of what it looks
// for, and those spaces stay consumed even when the scan fails.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  // Digits are taken only while the value read so far is below 1000, so "12345" reads as
  // 1234 and leaves the 5; `digitCount` tells "75" from "0075".
  bool Number(int& value, std::size_t* digitCount = nullptr) {
    SkipBlanks();
    const std::size_t start = pos_;
    int n = 0;
    while (pos_ < text_.size() && IsDigit(text_[pos_]) && n < 1000) {
      n = n * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (pos_ == start) return false;
    value = n;
    if (digitCount != nullptr) *digitCount = pos_ - start;
    return true;
  }

  bool DigitNext() const { return pos_ < text_.size() && IsDigit(text_[pos_]); }

  std::size_t Position() const { return pos_; }
  void MoveTo(std::size_t position) { pos_ = position; }

  bool Char(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool Word(std::string_view word) {
    if (word.empty()) return false;
    SkipBlanks();
    if (!StartsWithNoCase(text_.substr(pos_), word)) return false;
    pos_ += word.size();
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

DateOrder OrderOf(std::string_view shortDateFormat) {
  for (char c : shortDateFormat) {
    switch (AsciiUpper(c)) {
      case 'D':
        return DateOrder::DayMonthYear;
      case 'M':
        return DateOrder::MonthDayYear;
      case 'Y':
        return DateOrder::YearMonthDay;
      default:
        break;
    }
  }
  return DateOrder::MonthDayYear;
}

// The marks that part the runs of a date: "/", "-", " " and the locale's own separator.
bool IsPlainDateMark(char c, char separator) { return c == '/' || c == '-' || c == ' ' || c == separator; }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }


// Places a one- or two-digit year in the hundred years from 50 before the current year to 49
// after it.
int WindowYear(int year, int currentYear) {
  const int base = currentYear - 50;
  year += base / 100 * 100;
  if (year < base) year += 100;
  return year;
}

std::optional<DateTime> ScanDate(Scanner& scanner, const LocaleSettings& locale) {
  int n1 = 0, n2 = 0, n3 = 0;
  std::size_t length1 = 0, length3 = 0;
  // A number with more digits than a date part holds ("12/25/20245") is no date.
  if (!(scanner.Number(n1, &length1) && !scanner.DigitNext() && scanner.Char(locale.dateSeparator) &&
        scanner.Number(n2) && !scanner.DigitNext())) {
    return std::nullopt;
  }
  const DateOrder order = OrderOf(locale.shortDateFormat);
  DateTime date;
  if (scanner.Char(locale.dateSeparator)) {
    if (!scanner.Number(n3, &length3) || scanner.DigitNext()) return std::nullopt;
    std::size_t yearLength = length3;
    switch (order) {
      case DateOrder::MonthDayYear:
        date.year = n3, date.month = n1, date.day = n2;
        break;
      case DateOrder::DayMonthYear:
        date.year = n3, date.month = n2, date.day = n1;
        break;
      case DateOrder::YearMonthDay:
        date.year = n1, date.month = n2, date.day = n3, yearLength = length1;
        break;
    }
    if (yearLength <= 2) date.year = WindowYear(date.year, locale.currentYear);
  } else {
    date.year = locale.currentYear;
    if (order == DateOrder::DayMonthYear) {
      date.day = n1, date.month = n2;
    } else {
      date.month = n1, date.day = n2;
    }
  }
  scanner.Char(locale.dateSeparator);
  scanner.SkipBlanks();
  if (!IsValidDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

// 0 for a morning marker, 12 for an afternoon one, -1 when none is there.
int ScanMarker(Scanner& scanner, const LocaleSettings& locale) {
  if (scanner.Word(locale.amString) || scanner.Word("AM")) return 0;
  if (scanner.Word(locale.pmString) || scanner.Word("PM")) return 12;
  return -1;
}

// A marker after the time, also after the date separator that a blank became when the text
// was normalised ("1:2:3 PM" reads as "1:2:3/PM"); the separator stays unread without a marker.
int ScanTrailingMarker(Scanner& scanner, const LocaleSettings& locale) {
  const int marker = ScanMarker(scanner, locale);
  if (marker >= 0) return marker;
  const std::size_t position = scanner.Position();
  if (scanner.Char(locale.dateSeparator)) {
    if (const int afterSeparator = ScanMarker(scanner, locale); afterSeparator >= 0) return afterSeparator;
  }
  scanner.MoveTo(position);
  return -1;
}

// Hours[:minutes[:seconds[<decimal separator>milliseconds]]] with a marker before or after.
// Fills the time fields of `into` and leaves its date alone.
bool ScanTime(Scanner& scanner, const LocaleSettings& locale, DateTime& into) {
  int baseHour = ScanMarker(scanner, locale);
  if (baseHour >= 0) scanner.SkipBlanks();
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  if (!scanner.Number(hour)) return false;
  if (scanner.Char(locale.timeSeparator)) {
    if (!scanner.Number(minute)) return false;
    if (scanner.Char(locale.timeSeparator)) {
      if (!scanner.Number(second)) return false;
      if (scanner.Char(locale.decimalSeparator) && !scanner.Number(millisecond)) return false;
    }
  }
  if (baseHour < 0) baseHour = ScanTrailingMarker(scanner, locale);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    hour = (hour == 12 ? 0 : hour) + baseHour;
  }
  scanner.SkipBlanks();
  if (hour >= 24 || minute >= 60 || second >= 60 || millisecond >= 1000) return false;
  into.hour = hour;
  into.minute = minute;
  into.second = second;
  into.millisecond = millisecond;
  return true;
}

// NormaliseDateText for the usual date, short and without letters, into `buffer`: no month
// name to replace and nothing to allocate. Nothing when the text is not such a date.
std::optional<std::string_view> NormaliseShortDate(std::string_view text, const LocaleSettings& locale,
                                                   std::span<char> buffer) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.size() > buffer.size()) return std::nullopt;
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (AsciiUpper(c) >= 'A' && AsciiUpper(c) <= 'Z') return std::nullopt;
    buffer[i] = IsPlainDateMark(c, locale.dateSeparator) ? locale.dateSeparator : c;
  }
  return std::string_view(buffer.data(), trimmed.size());
}

// The runs of the commonest dates, ten characters of two, two and four digits or of four, two
// and two, read at once; false for any other text.
bool ReadTenCharacterDate(std::string_view text, char separator, int (&numbers)[3], std::size_t (&lengths)[3]) {
  if (text.size() != 10) return false;
  const std::size_t first = IsPlainDateMark(text[4], separator) ? 4 : 2;
  const std::size_t second = first == 4 ? 7 : 5;
  if (!IsPlainDateMark(text[first], separator) || !IsPlainDateMark(text[second], separator)) return false;
  lengths[0] = first;
  lengths[1] = second - first - 1;
  lengths[2] = text.size() - second - 1;
  // Each order read with its runs' places written out, so that their digits are read unrolled.
  if (first == 4) {
    return ReadDigitRun(text, 0, 4, numbers[0]) && ReadDigitRun(text, 5, 2, numbers[1]) &&
           ReadDigitRun(text, 8, 2, numbers[2]);
  }
  return ReadDigitRun(text, 0, 2, numbers[0]) && ReadDigitRun(text, 3, 2, numbers[1]) &&
         ReadDigitRun(text, 6, 4, numbers[2]);
}

// Three runs of one to four digits split by one mark each and nothing else.
bool ReadDateRuns(std::string_view text, char separator, int (&numbers)[3], std::size_t (&lengths)[3]) {
  const char* at = text.data();
  const char* const end = at + text.size();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at == end || !IsPlainDateMark(*at, separator)) return false;
      ++at;
    }
    const char* const start = at;
    int n = 0;
    while (at != end && IsDigit(*at) && at - start < 4) n = n * 10 + (*at++ - '0');
    lengths[i] = static_cast<std::size_t>(at - start);
    if (lengths[i] == 0 || (at != end && IsDigit(*at))) return false;
    numbers[i] = n;
  }
  return at == end;
}

// Reads the usual date, three runs of one to four digits split by "/", "-", " " or the
// locale's date separator and nothing else, straight from the text: the result ScanDate gives
// for it once normalised, as each run is read whole and the date must end after the third.
// Nothing for any other text and for an invalid date, which take the general way.
std::optional<DateTime> ReadPlainDate(std::string_view text, const LocaleSettings& locale) {
  const char separator = locale.dateSeparator;
  // A blank, digit or letter as the date separator changes what normalising does.
  if (separator == ' ' || IsDigit(separator) || (AsciiUpper(separator) >= 'A' && AsciiUpper(separator) <= 'Z')) {
    return std::nullopt;
  }
  const std::string_view trimmed = Trim(text);
  int numbers[3];
  std::size_t lengths[3];
  if (!ReadTenCharacterDate(trimmed, separator, numbers, lengths) &&
      !ReadDateRuns(trimmed, separator, numbers, lengths)) {
    return std::nullopt;
  }
  DateTime date;
  std::size_t yearLength = lengths[2];
  switch (OrderOf(locale.shortDateFormat)) {
    case DateOrder::MonthDayYear:
      date.year = numbers[2], date.month = numbers[0], date.day = numbers[1];
      break;
    case DateOrder::DayMonthYear:
      date.year = numbers[2], date.month = numbers[1], date.day = numbers[0];
      break;
    case DateOrder::YearMonthDay:
      date.year = numbers[0], date.month = numbers[1], date.day = numbers[2], yearLength = lengths[0];
      break;
  }
  if (yearLength <= 2) date.year = WindowYear(date.year, locale.currentYear);
  if (!IsValidDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

std::optional<DateTime> ParseDateTime(std::string_view text, const LocaleSettings& locale) {
  if (std::optional<DateTime> date = ReadPlainDate(text, locale)) return date;
  std::array<char, 64> buffer;
  std::string named;  // a text that may name a month
  std::optional<std::string_view> shortDate = NormaliseShortDate(text, locale, buffer);
  if (!shortDate) named = NormaliseDateText(text, locale);
  const std::string_view normalised = shortDate ? *shortDate : std::string_view(named);
  {
    Scanner scanner(normalised);
    if (std::optional<DateTime> date = ScanDate(scanner, locale)) {
      if (scanner.AtEnd() || ScanTime(scanner, locale, *date)) return date;
    }
  }
  Scanner scanner(normalised);
  DateTime time;
  if (ScanTime(scanner, locale, time) && scanner.AtEnd()) return time;
  return std::nullopt;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const int last = kDays[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
  return day <= last;
}


bool IsNumeric(std::string_view text, const LocaleSettings& locale) {
  const std::string_view trimmed = Trim(text);
  return !trimmed.empty() && IsFloatText(trimmed, locale.decimalSeparator);
}

bool IsWholeNumber(std::string_view text, const LocaleSettings& locale) {
  return text.find('.') == std::string_view::npos && IsNumeric(text, locale);
}

bool IsBoolean(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.size() < 2 || trimmed.size() > 5) return false;
  // Clearing the lower-case bit folds a letter onto its capital and no other byte onto any
  // capital, so the folded text equals a word of capitals exactly when the text matches it in
  // any case. Every bit column of a scan is tested here, so this avoids a compare call per word.
  char folded[5];
  for (std::size_t i = 0; i < trimmed.size(); ++i) folded[i] = static_cast<char>(trimmed[i] & ~0x20);
  const std::string_view word(folded, trimmed.size());
  // Only the words of the text's length can match it.
  switch (word.size()) {
    case 2: return word == "NO" || word == "ON";
    case 3: return word == "YES" || word == "OFF";
    case 4: return word == "TRUE";
    default: return word == "FALSE";
  }
}

bool IsDate(std::string_view text, const LocaleSettings& locale) {
  return ParseDateTime(text, locale).has_value();
}

std::optional<DateTime> ReadDateTime(std::string_view text, const LocaleSettings& locale) {
  return ParseDateTime(text, locale);
}

DateTime ToDateTime(std::string_view text, const LocaleSettings& locale) {
  return ParseDateTime(text, locale).value_or(DateTime{});
}

}  // namespace quorlin
