// One reading of numeric texts for every reader of field values.
#include "schema/number_reading.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "schema/value_recognisers.h"

namespace quorlin {
namespace {

TEST(ReadNumber, ReadsEveryTextTheRecognisersAcceptWithinTheDoubleRange) {
  const LocaleSettings point;
  for (const char* text : {"12", "-3.5", "+7", ".", "-.", "1.", ".5", ".e3", " 12 ", "\t5\r\n", "007", "1E-3",
                           "1e308", "1e-5000", "0e99999999999999999999", "4.9e-324"}) {
    ASSERT_TRUE(IsNumeric(text, point)) << text;
    EXPECT_EQ(NumberOutcome::Read, ReadNumber(text, point).outcome) << text;
  }
  EXPECT_EQ(-3.5, *ReadNumber(" -3.5 ", point));
  EXPECT_EQ(0.0, *ReadNumber("-.", point));
  EXPECT_EQ(0.0, *ReadNumber(".e3", point));
  EXPECT_EQ(1e-3, *ReadNumber("1E-3", point));
  EXPECT_EQ(DBL_MAX, *ReadNumber("1.7976931348623157e308", point));
}

TEST(ReadNumber, RoundsANumberNearerZeroThanAnyDoubleToZero) {
  const NumberReading tiny = ReadNumber("1e-400", LocaleSettings{});
  ASSERT_EQ(NumberOutcome::Read, tiny.outcome);
  EXPECT_EQ(0.0, tiny.value);
  EXPECT_EQ(0.0, *ReadNumber("-0.0000001e-320", LocaleSettings{}));
}

TEST(ReadNumber, TellsANumberBeyondTheDoubleRangeFromNoNumber) {
  for (const char* text : {"1e400", "-1e400", "1e4932", "18e307"}) {
    EXPECT_EQ(NumberOutcome::OutOfRange, ReadNumber(text, LocaleSettings{}).outcome) << text;
  }
  for (const char* text : {"", "abc", "1e", "inf", "nan", "0x10", "1,5", "1e5000"}) {
    EXPECT_EQ(NumberOutcome::NotANumber, ReadNumber(text, LocaleSettings{}).outcome) << text;
  }
  EXPECT_EQ("\"1e400\" is out of range for a Double", NumberOutOfRangeMessage(" 1e400 "));
}

TEST(ReadNumber, UsesTheLocalesDecimalSeparator) {
  LocaleSettings comma;
  comma.decimalSeparator = ',';
  EXPECT_EQ(-2500.0, *ReadNumber("-2,5e3", comma));
  EXPECT_EQ(1.5, *ReadNumber("+1,5", comma));
  EXPECT_EQ(NumberOutcome::NotANumber, ReadNumber("1.5", comma).outcome);
}

TEST(ReadPlainWholeDigits, ReadsOneSignAndDigitsAndLeavesEveryOtherTextToTheGeneralReader) {
  EXPECT_EQ(-42, ReadPlainWholeDigits("-42"));
  EXPECT_EQ(7, ReadPlainWholeDigits("+007"));
  EXPECT_EQ(INT64_MIN, ReadPlainWholeDigits("-9223372036854775808"));
  for (const char* text : {"", "+", "-", "+-5", "-+5", "1.0", "1e3", " 5", "9223372036854775808"}) {
    EXPECT_EQ(std::nullopt, ReadPlainWholeDigits(text)) << text;
  }
}

}  // namespace
}  // namespace quorlin
