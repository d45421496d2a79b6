#include "schema/value_recognisers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace quorlin {
namespace {

using namespace std::string_literals;

struct DateCase {
  std::string text;
  std::optional<DateTime> expected;
};

DateTime Day(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
             int millisecond = 0) {
  return DateTime{year, month, day, hour, minute, second, millisecond};
}

DateTime Time(int hour, int minute = 0, int second = 0, int millisecond = 0) {
  return Day(1899, 12, 30, hour, minute, second, millisecond);
}

std::string Describe(const DateTime& d) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day,
                d.hour, d.minute, d.second, d.millisecond);
  return buffer;
}

LocaleSettings DayMonthYear(int currentYear = 2026) {
  LocaleSettings locale;
  locale.shortDateFormat = "dd/MM/yyyy";
  locale.currentYear = currentYear;
  return locale;
}

LocaleSettings WithFormat(std::string format, char dateSeparator = '/') {
  LocaleSettings locale;
  locale.shortDateFormat = std::move(format);
  locale.dateSeparator = dateSeparator;
  return locale;
}

void ExpectDates(const LocaleSettings& locale, const std::vector<DateCase>& cases) {
  for (const DateCase& c : cases) {
    SCOPED_TRACE("text: \"" + c.text + "\"");
    EXPECT_EQ(c.expected.has_value(), IsDate(c.text, locale));
    EXPECT_EQ(Describe(c.expected.value_or(DateTime{})), Describe(ToDateTime(c.text, locale)));
  }
}

// Every text of `accepted` passes `test` and no text of `rejected` does.
template <typename Test>
void ExpectSplit(Test test, const std::vector<std::string>& accepted,
                 const std::vector<std::string>& rejected) {
  for (const std::string& text : accepted) EXPECT_TRUE(test(text)) << "text: \"" << text << "\"";
  for (const std::string& text : rejected) EXPECT_FALSE(test(text)) << "text: \"" << text << "\"";
}

auto Numeric(const LocaleSettings& locale) {
  return [locale](const std::string& text) { return IsNumeric(text, locale); };
}

auto WholeNumber(const LocaleSettings& locale) {
  return [locale](const std::string& text) { return IsWholeNumber(text, locale); };
}

TEST(ValueRecognisersTest, BlankMeansNothingAboveCode32) {
  ExpectSplit([](const std::string& text) { return IsBlank(text); }, {"", " \t\r\n", "\0\x1f "s},
              {" a ", "\xa0", "."});
}

TEST(ValueRecognisersTest, NumericWithFullStopSeparator) {
  ExpectSplit(
      Numeric(LocaleSettings{}),
      {"12", "-3.5", "1e5", "+7", ".", "-.", "1.", ".5", ".e3", " 12 ", "\t5\r\n", "007", "1E-3",
       "1e+3", "1e4932", "1e-5000", "0.0001e4936", "0e99999999999999999999"},
      {"1,000", "12a", "", "   ", "e5", "1e", "1e+", "+", "--1", "1 2", "1.2.3", "1,5", "0x10",
       "inf", "nan", "1.2e4932", "-1e5000", "100000e4928", "1e99999999999999999999"});
}

TEST(ValueRecognisersTest, NumericWithCommaSeparator) {
  LocaleSettings comma;
  comma.decimalSeparator = ',';
  ExpectSplit(Numeric(comma), {"1,5", ",", "-2,5e3", "1,000"}, {"1.5", ".", "1,5,0"});
  ExpectSplit(WholeNumber(comma), {"1,5", "12"}, {"1.5"});
}

TEST(ValueRecognisersTest, WholeNumberRejectsAnyFullStop) {
  ExpectSplit(WholeNumber(LocaleSettings{}), {"007", " 12 ", "1e5", "-4"},
              {"1.0", ".", "1.", "abc", "", "1e5000"});
}

TEST(ValueRecognisersTest, BooleanWords) {
  ExpectSplit([](const std::string& text) { return IsBoolean(text); },
              {" yes ", "Off", "TRUE", "false", "No", "\ton\n"},
              {"Y", "T", "1", "", "yess", "y es", "OFFF"});
}

TEST(ValueRecognisersTest, DatesInDayMonthYearOrder) {
  ExpectDates(DayMonthYear(), {{"15 Jan 2002", Day(2002, 1, 15)},
                               {"15-JAN-2002", Day(2002, 1, 15)},
                               {"15 January 2002", Day(2002, 1, 15)},
                               {"15/01/2002", Day(2002, 1, 15)},
                               {"  15/01/2002  ", Day(2002, 1, 15)},
                               {"15 sept 2002", std::nullopt},
                               {"15 sep 2002", Day(2002, 9, 15)},
                               {"2002/01/15", std::nullopt},
                               {"1-2", Day(2026, 2, 1)},
                               {"3 4", Day(2026, 4, 3)},
                               {"12/05", Day(2026, 5, 12)},
                               {"15/01/2002/", Day(2002, 1, 15)},
                               {"15/01/", std::nullopt},
                               {"15//01", std::nullopt},
                               {"31/02/2002", std::nullopt},
                               {"29/02/2000", Day(2000, 2, 29)},
                               {"29/02/1900", std::nullopt},
                               {"29/02/2004", Day(2004, 2, 29)},
                               {"0/1/2002", std::nullopt},
                               {"1/13/2002", std::nullopt},
                               {"1/1/0000", std::nullopt},
                               {"1/1/0075", Day(75, 1, 1)},
                               {"Market", std::nullopt},
                               {"", std::nullopt},
                               {"   ", std::nullopt}});
}

TEST(ValueRecognisersTest, DateWithTimeIgnoresWhatFollowsTheTime) {
  ExpectDates(DayMonthYear(),
              {{"15/01/2002 10:30", Day(2002, 1, 15, 10, 30)},
               {"15 Jan 2002 23:59:59", Day(2002, 1, 15, 23, 59, 59)},
               {"15/01/2002 10:30:15.250", Day(2002, 1, 15, 10, 30, 15, 250)},
               {"15/01/2002 10:30 and more", Day(2002, 1, 15, 10, 30)},
               // A blank in front of the marker is read past like none.
               {"15/01/2002 10:30 PM", Day(2002, 1, 15, 22, 30)},
               {"15/01/2002 1:2:3 pm", Day(2002, 1, 15, 13, 2, 3)},
               {"15/01/2002 10:30PM", Day(2002, 1, 15, 22, 30)},
               {"15/01/2002 garbage", std::nullopt},
               {"15/01/2002 25:00", std::nullopt},
               // A year of five digits is no year, not a year and an hour.
               {"15/01/20025", std::nullopt},
               {"12/25/20245", std::nullopt},
               {"150/01/2002", std::nullopt}});
}

TEST(ValueRecognisersTest, TimeAloneFallsOnTheZeroDate) {
  ExpectDates(DayMonthYear(), {{"10:30", Time(10, 30)},
                               {"10:30AM", Time(10, 30)},
                               {"10:30am", Time(10, 30)},
                               {"10:30PM", Time(22, 30)},
                               {"10:30 AM", Time(10, 30)},
                               {"1:2:3 PM", Time(13, 2, 3)},
                               {"10:30 XM", std::nullopt},
                               {"PM3:15", Time(15, 15)},
                               {"am12:05", Time(0, 5)},
                               {"12AM", Time(0)},
                               {"12PM", Time(12)},
                               {"0AM", std::nullopt},
                               {"13PM", std::nullopt},
                               {"5", Time(5)},
                               {"0", Time(0)},
                               {"25", std::nullopt},
                               {"12345", std::nullopt},
                               {"24:00", std::nullopt},
                               {"23:60", std::nullopt},
                               {"23:59:60", std::nullopt},
                               {"10:", std::nullopt},
                               {"10:30:", std::nullopt},
                               {"10:30:15.", std::nullopt},
                               {"10:30:15.5", Time(10, 30, 15, 5)},
                               {"10:30:15.999", Time(10, 30, 15, 999)},
                               {"10:30:15.1234", std::nullopt},
                               {"10:30x", std::nullopt}});
}

// Three runs of digits are read straight from the text; anything around or beyond that shape
// is read as every other text is, with the same result.
TEST(ValueRecognisersTest, UsualDateShapesAndTheirNeighbours) {
  LocaleSettings dots = DayMonthYear();
  dots.dateSeparator = '.';
  for (const LocaleSettings& locale : {DayMonthYear(), dots}) {
    ExpectDates(locale, {{"29/02/2000", Day(2000, 2, 29)},
                         {"31/02/2000", std::nullopt},
                         {" 1 2 2003 ", Day(2003, 2, 1)},
                         {"1/2-2003", Day(2003, 2, 1)},
                         {"0001/2/3", Day(2003, 2, 1)},
                         {"1/2/3/", Day(2003, 2, 1)},
                         {"01/02/2003 7", Day(2003, 2, 1, 7)},
                         {"01/02/12345", std::nullopt},
                         {"01-02-2003", Day(2003, 2, 1)},
                         {"01/02 2003", Day(2003, 2, 1)},
                         {"2003-02-01", std::nullopt},
                         {"01/02/200x", std::nullopt}});
  }
  ExpectDates(dots, {{"01.02.03", Day(2003, 2, 1)}});
  ExpectDates(DayMonthYear(), {{"01.02.03", std::nullopt}});
}

TEST(ValueRecognisersTest, TwoDigitYearsFollowTheCurrentYear) {
  struct YearCase {
    std::string text;
    int currentYear;
    int year;
  };
  for (const YearCase& c : std::vector<YearCase>{{"15/01/75", 2025, 1975},
                                                 {"15/01/75", 2026, 2075},
                                                 {"15/01/02", 1953, 2002},
                                                 {"15/01/02", 2052, 2002},
                                                 {"15/01/02", 1952, 1902},
                                                 {"15/01/02", 2053, 2102},
                                                 {"15/01/0", 2026, 2000},
                                                 {"15/01/002", 2026, 2},
                                                 {"15/01/1975", 2100, 1975}}) {
    SCOPED_TRACE("text: \"" + c.text + "\" in " + std::to_string(c.currentYear));
    EXPECT_EQ(Describe(Day(c.year, 1, 15)),
              Describe(ToDateTime(c.text, DayMonthYear(c.currentYear))));
  }
}

TEST(ValueRecognisersTest, MonthDayYearOrder) {
  for (const char* format : {"MM/dd/yy", "m/d/y", "", "-.-"}) {
    SCOPED_TRACE(std::string("format: ") + format);
    LocaleSettings locale = WithFormat(format);
    locale.currentYear = 2026;
    ExpectDates(locale, {{"01/15/2002", Day(2002, 1, 15)},
                         {"Jan 15 2002", Day(2002, 1, 15)},
                         {"15/01/2002", std::nullopt},
                         {"1/2", Day(2026, 1, 2)},
                         {"2/29/24", Day(2024, 2, 29)}});
  }
}

TEST(ValueRecognisersTest, YearMonthDayOrder) {
  LocaleSettings locale = WithFormat("yyyy-MM-dd", '-');
  locale.currentYear = 2026;
  ExpectDates(locale, {{"2002-01-15", Day(2002, 1, 15)},
                       {"2002/01/15", Day(2002, 1, 15)},
                       {"2002-02-30", std::nullopt},
                       {"2002 Jan 15 08:05", Day(2002, 1, 15, 8, 5)},
                       {"02-01-15", Day(2002, 1, 15)},
                       {"15/01/2002", std::nullopt},
                       {"1-2", Day(2026, 1, 2)}});
}

TEST(ValueRecognisersTest, OtherLocaleSeparatorsAndMarkers) {
  LocaleSettings locale = WithFormat("D.M.YYYY", '.');
  locale.timeSeparator = '.';
  locale.decimalSeparator = ',';
  locale.amString = "vm";
  locale.pmString = "nm";
  ExpectDates(locale, {{"15.01.2002", Day(2002, 1, 15)},
                       {"15/01/2002", Day(2002, 1, 15)},
                       {"15 Jan 2002 10.30.15,25", Day(2002, 1, 15, 10, 30, 15, 25)},
                       {"3.15NM", Time(15, 15)},
                       {"3.15PM", Time(15, 15)},
                       {"VM11.00", Time(11, 0)},
                       {"10.30.15.25", std::nullopt}});

  LocaleSettings noMarkers = DayMonthYear();
  noMarkers.amString.clear();
  noMarkers.pmString.clear();
  ExpectDates(noMarkers, {{"10:30PM", Time(22, 30)}, {"10:30", Time(10, 30)}});
}

TEST(ValueRecognisersTest, LongTextsFinish) {
  const LocaleSettings locale = DayMonthYear();
  const std::size_t size = 1 << 20;
  EXPECT_FALSE(IsNumeric("1" + std::string(size, '0'), locale));
  EXPECT_TRUE(IsNumeric("0." + std::string(size, '0') + "1", locale));
  EXPECT_TRUE(IsNumeric(std::string(size, '9') + "e-" + std::string(size, '9'), locale));
  EXPECT_FALSE(IsNumeric(std::string(size, '5') + "x", locale));
  EXPECT_FALSE(IsDate(std::string(size, 'a'), locale));
  EXPECT_FALSE(IsDate(std::string(size, '/'), locale));
  EXPECT_FALSE(IsDate(std::string(size, ' ') + "x", locale));

  std::string months;
  while (months.size() < size) months += "JanuaryMAYdec ";
  EXPECT_FALSE(IsDate(months, locale));

  EXPECT_EQ(Describe(Time(5)), Describe(ToDateTime(std::string(size, '0') + "5", locale)));
  EXPECT_EQ(Describe(Day(2002, 1, 15, 10, 30)),
            Describe(ToDateTime("15/01/2002 10:30" + std::string(size, 'x'), locale)));
  EXPECT_FALSE(IsDate("10:30" + std::string(size, 'x'), locale));
  EXPECT_TRUE(IsBoolean(std::string(size, ' ') + "yes" + std::string(size, '\t')));
  EXPECT_FALSE(IsBoolean(std::string(size, 'y')));
}

// An independent reading of the numeric grammar, valid for short texts in the C locale.
bool ReferenceNumeric(const std::string& text) {
  static const std::regex grammar(
      R"([\x00-\x20]*[+-]?(\d+\.?\d*|\.\d*)([eE][+-]?\d+)?[\x00-\x20]*)");
  if (!std::regex_match(text, grammar)) return false;
  std::string trimmed = text.substr(text.find_first_not_of(std::string("\0 \t", 3)));
  if (trimmed.find_first_of("0123456789") == std::string::npos) return true;
  errno = 0;
  const long double value = std::strtold(trimmed.c_str(), nullptr);
  return !(errno == ERANGE && std::isinf(value));
}

TEST(ValueRecognisersTest, NumericAgreesWithAReferenceOnRandomTexts) {
  std::mt19937 random(20240615);
  const std::string alphabet = "0123456789+-.eE ,a\t";
  std::uniform_int_distribution<std::size_t> length(0, 10);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  const LocaleSettings locale;
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += alphabet[pick(random)];
    SCOPED_TRACE("text: \"" + text + "\"");
    ASSERT_EQ(ReferenceNumeric(text), IsNumeric(text, locale));
  }
}

TEST(ValueRecognisersTest, RandomBytesNeverBreakAnything) {
  std::mt19937 random(7);
  const std::string likely = "0123456789/:-. ,APMapmJanFebMarDecYyesOffTRUE\t\r";
  std::uniform_int_distribution<int> length(0, 48);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> pick(0, likely.size() - 1);
  std::vector<LocaleSettings> locales = {LocaleSettings{}, DayMonthYear(),
                                         WithFormat("yyyy-MM-dd", '-')};
  locales.back().decimalSeparator = ',';
  locales.back().amString = "";
  for (int i = 0; i < 600; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) {
      text += (byte(random) < 64) ? static_cast<char>(byte(random)) : likely[pick(random)];
    }
    for (const LocaleSettings& locale : locales) {
      SCOPED_TRACE("case " + std::to_string(i));
      const bool numeric = IsNumeric(text, locale);
      EXPECT_TRUE(numeric || !IsWholeNumber(text, locale));
      EXPECT_FALSE(numeric && IsBlank(text));
      IsBoolean(text);
      const DateTime converted = ToDateTime(text, locale);
      EXPECT_TRUE(IsDate(text, locale) || converted == DateTime{});
    }
  }
}

}  // namespace
}  // namespace quorlin
