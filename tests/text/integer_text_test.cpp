// Whole numbers from the number boxes, and the texts they refuse.
#include "text/integer_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/case_names.h"

namespace quorlin {
namespace {

struct Accepted {
  std::string text;
  long long value;
};

void PrintTo(const Accepted& accepted, std::ostream* out) { *out << accepted.text; }

class ToIntegerAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(ToIntegerAccepts, Value) { EXPECT_EQ(GetParam().value, ToInteger(GetParam().text)); }

INSTANTIATE_TEST_SUITE_P(
    Texts, ToIntegerAccepts,
    ::testing::Values(Accepted{"25", 25}, Accepted{"0", 0}, Accepted{"-7", -7},
                      Accepted{"+7", 7}, Accepted{"  12\t", 12}, Accepted{"007", 7},
                      Accepted{"$1F", 31}, Accepted{"$ff", 255}, Accepted{"0x10", 16},
                      Accepted{"0XaB", 171}, Accepted{"-$10", -16},
                      Accepted{"9223372036854775807", std::numeric_limits<long long>::max()},
                      Accepted{"-9223372036854775808", std::numeric_limits<long long>::min()},
                      Accepted{"$7FFFFFFFFFFFFFFF", std::numeric_limits<long long>::max()}),
    testing::PrintedCaseName{});

class ToIntegerRefuses : public ::testing::TestWithParam<std::string> {};

TEST_P(ToIntegerRefuses, WithTheMessageNamingTheText) {
  try {
    ToInteger(GetParam());
    FAIL() << "accepted '" << GetParam() << "'";
  } catch (const ConversionError& error) {
    EXPECT_EQ("'" + GetParam() + "' is not a valid integer value", std::string(error.what()));
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, ToIntegerRefuses,
                         ::testing::Values("", "  ", "-", "+", "$", "0x", "1.5", "1,000", "12a",
                                           "1 2", "--1", "+-1", "$G", "0x-1", "abc", "1e3",
                                           "9223372036854775808", "-9223372036854775809",
                                           "$8000000000000000", "99999999999999999999999"),
                         [](const auto& info) { return testing::CaseName(info.param); });

TEST(NumberText, KeepsTheTextItWasGivenBesideItsNumber) {
  const NumberText padded(" 030 ");
  EXPECT_EQ(" 030 ", padded.Text());
  EXPECT_TRUE(padded.IsWhole());
  EXPECT_EQ(30, padded.Value());
  EXPECT_EQ("30", NumberText(30LL).Text());
  EXPECT_NE(NumberText("30"), padded) << "texts compare as written";

  const NumberText decimal("1e3");
  EXPECT_FALSE(decimal.IsWhole());
  EXPECT_EQ("1e3", decimal.Text());
  try {
    decimal.Value();
    FAIL() << "1e3 has no whole number";
  } catch (const ConversionError& error) {
    EXPECT_STREQ("'1e3' is not a valid integer value", error.what());
  }
}

}  // namespace
}  // namespace quorlin
