#include "schema/type_vote.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorlin {
namespace {

LocaleSettings DayMonthYear(char decimalSeparator = '.') {
  LocaleSettings locale;
  locale.shortDateFormat = "dd/MM/yyyy";
  locale.decimalSeparator = decimalSeparator;
  return locale;
}

struct ClassCase {
  std::string value;
  FieldType expected;
};

TEST(ClassifyValue, NumbersBySizeAndFormThenDatesBooleansAndText) {
  const LocaleSettings locale = DayMonthYear();
  const std::vector<ClassCase> cases = {
      {"1.5", FieldType::Float},       {".", FieldType::Float},
      {"123456789012", FieldType::Char},  // twelve digits
      {"0", FieldType::Char},          {"007", FieldType::Char},
      {"300", FieldType::Long},        {"-2", FieldType::Long},
      {"-2147483648", FieldType::Long},{" 7 ", FieldType::Byte},
      {"+255", FieldType::Byte},       {"256", FieldType::Long},
      // At most 11 characters, but beyond 32 bits or with an exponent: kept as text.
      {"99999999999", FieldType::Char},{"-2147483649", FieldType::Char},
      {"1e5", FieldType::Char},        {"7E+2", FieldType::Char},
      {"15/01/2002", FieldType::Date}, {"10:30", FieldType::Date},
      {"15 Jan 2002", FieldType::Date},{" yes ", FieldType::Bit},
      {"Off", FieldType::Bit},         {"Market", FieldType::Char},
      {"", FieldType::Char},           {"   ", FieldType::Char},
  };
  for (const ClassCase& c : cases) {
    EXPECT_EQ(c.expected, ClassifyValue(c.value, locale)) << '"' << c.value << '"';
  }
}

TEST(ClassifyValue, TheLocalesDecimalSeparatorMakesAFloat) {
  const LocaleSettings commaDecimal = DayMonthYear(',');
  EXPECT_EQ(FieldType::Float, ClassifyValue("1,5", commaDecimal));
  EXPECT_EQ(FieldType::Float, ClassifyValue(",", commaDecimal));
  EXPECT_EQ(FieldType::Byte, ClassifyValue("15", commaDecimal));
}

struct VoteCase {
  const char* label;
  std::vector<std::string> column;
  FieldType expected;
};

std::vector<std::string> Repeated(const std::string& value, int times) {
  return std::vector<std::string>(static_cast<std::size_t>(times), value);
}

std::vector<std::string> Joined(std::vector<std::string> first, const std::vector<std::string>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST(TypeVote, HighestSumWinsUnlessLongMeetsFloatOrByte) {
  const std::vector<VoteCase> cases = {
      {"byte and long make long", {"1", "2", "300"}, FieldType::Long},
      {"no override without long", {"1.5", "2", "3"}, FieldType::Byte},
      {"long and float make float", {"1.5", "-2"}, FieldType::Float},
      {"zero counts as char", {"0", "1", "0"}, FieldType::Char},
      {"override ignores a char majority", {"7", "a", "b", "700", "c"}, FieldType::Long},
      {"blanks vote char", Joined(Repeated("12", 10), Repeated("", 15)), FieldType::Char},
      {"a tie goes to the lower index", {"yes", "x"}, FieldType::Bit},
      // Only the first 25 rows vote: thirty numbers after them do not.
      {"rows past 25 do not vote", Joined(Repeated("x", 25), Repeated("5", 30)), FieldType::Char},
  };
  const LocaleSettings locale = DayMonthYear();
  for (const VoteCase& c : cases) {
    TypeVote vote(locale);
    for (const std::string& value : c.column) vote.Add(value);
    EXPECT_EQ(c.expected, vote.Result(c.column.front())) << c.label;
    EXPECT_LE(vote.Rows(), kMaxVotingRows) << c.label;
  }
}

TEST(TypeVote, WithoutSampleRowsTheSampleValueDecidesInsteadOfBit) {
  const LocaleSettings locale = DayMonthYear();
  const TypeVote vote(locale);
  EXPECT_EQ(FieldType::Long, vote.Result("1500"));
  EXPECT_EQ(FieldType::Float, vote.Result("2.5"));
  EXPECT_EQ(FieldType::Char, vote.Result(""));
}

}  // namespace
}  // namespace quorlin
