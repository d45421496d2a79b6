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

TEST(ClassifyValue, NumbersBySizeAndFormThenDatesBooleansAndText) {
  const std::vector<std::pair<std::string, FieldType>> cases = {
      {"1.5", FieldType::Float}, {"123456789012", FieldType::Char}, {"0", FieldType::Char},
      {"007", FieldType::Char},  {"300", FieldType::Long},          {"-2", FieldType::Long},
      {" 7 ", FieldType::Byte},  {"+255", FieldType::Byte},         {"-2147483648", FieldType::Long},
      // At most 11 characters, but beyond 32 bits or with an exponent: kept as text.
      {"99999999999", FieldType::Char}, {"-2147483649", FieldType::Char}, {"1e5", FieldType::Char},
      {"15/01/2002", FieldType::Date},  {"10:30", FieldType::Date},       {" yes ", FieldType::Bit},
      {"Market", FieldType::Char},      {"", FieldType::Char}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(expected, ClassifyValue(value, DayMonthYear())) << '"' << value << '"';
  }
  // Where "," is the decimal separator, "1,5" is a fraction just as "1.5" is elsewhere.
  EXPECT_EQ(FieldType::Float, ClassifyValue("1,5", DayMonthYear(',')));
}

std::vector<std::string> Column(std::vector<std::string> first, const std::string& then = "",
                                int times = 0) {
  first.insert(first.end(), static_cast<std::size_t>(times), then);
  return first;
}

TEST(TypeVote, HighestSumWinsUnlessLongMeetsFloatOrByte) {
  const std::vector<std::pair<std::vector<std::string>, FieldType>> cases = {
      {{"1", "2", "300"}, FieldType::Long},         // Byte and Long make Long
      {{"1.5", "2", "3"}, FieldType::Byte},         // no override without Long
      {{"1.5", "-2"}, FieldType::Float},            // Long and Float make Float
      {{"0", "1", "0"}, FieldType::Char},           // 0 counts as Char
      {{"7", "a", "b", "700", "c"}, FieldType::Long},  // the override beats a Char majority
      {{"yes", "x"}, FieldType::Bit},               // a tie goes to the lower index
      {Column(Column({}, "12", 10), "", 15), FieldType::Char},  // blanks vote Char
      {Column(Column({}, "x", 25), "5", 30), FieldType::Char},  // rows past the 25th do not vote
  };
  for (const auto& [column, expected] : cases) {
    TypeVote vote(DayMonthYear());
    for (const std::string& value : column) vote.Add(value);
    EXPECT_EQ(expected, vote.Result(column.front())) << ::testing::PrintToString(column);
  }
}

}  // namespace
}  // namespace quorlin
