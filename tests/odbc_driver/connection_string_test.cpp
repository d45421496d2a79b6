#include "odbc/driver/connection_string.h"

#include <gtest/gtest.h>

#include "odbc/driver/sql_error.h"
#include "support/case_names.h"

namespace quorlin::driver {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

struct StringCase {
  const char* text;
  Pairs pairs;
};

void PrintTo(const StringCase& c, std::ostream* out) { *out << c.text; }

class ConnectionStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(ConnectionStrings, ReadAsTheOdbcRulesSay) {
  const ConnectionAttributes attributes = ParseConnectionString(GetParam().text);
  EXPECT_EQ(GetParam().pairs, attributes.Pairs());
  EXPECT_EQ(attributes.Pairs(), ParseConnectionString(FormatConnectionString(attributes)).Pairs());
}

INSTANTIATE_TEST_SUITE_P(Strings, ConnectionStrings,
                         ::testing::Values(StringCase{"DSN=MyTextDSN", {{"DSN", "MyTextDSN"}}},
                                           StringCase{" DSN = a b ; DefaultDir=/x/;", {{"DSN", "a b"}, {"DefaultDir", "/x/"}}},
                                           StringCase{"DefaultDir={/a;b/ c};UID=", {{"DefaultDir", "/a;b/ c"}, {"UID", ""}}},
                                           StringCase{"X={a}}b}junk;Y=1", {{"X", "a}b"}, {"Y", "1"}}},
                                           StringCase{"novalue;=v;K=v=w", {{"K", "v=w"}}},
                                           StringCase{"", {}}),
                         testing::PrintedCaseName{});

TEST(ConnectionStrings, TheFirstOfARepeatedKeywordCountsWithoutRegardToCase) {
  const ConnectionAttributes attributes = ParseConnectionString("dsn=a;DSN=b");
  EXPECT_EQ("a", attributes.Find("DSN"));
  EXPECT_EQ(std::nullopt, attributes.Find("DefaultDir"));
}

TEST(ConnectionStrings, AnUnclosedBraceIsRefused) {
  try {
    ParseConnectionString("DefaultDir={/data");
    FAIL() << "parsed";
  } catch (const SqlError& error) {
    EXPECT_EQ("08001", error.SqlState());
  }
}

TEST(AttributeLists, AreReadPairByPairUpToTheEmptyOne) {
  const char list[] = "DSN=x\0Driver=Microsoft Text Driver (*.txt; *.csv)\0bad\0DefaultDir= /d/\0\0Ignored=1\0";
  EXPECT_EQ((Pairs{{"DSN", "x"}, {"Driver", "Microsoft Text Driver (*.txt; *.csv)"}, {"DefaultDir", " /d/"}}),
            ParseAttributeList(list).Pairs());
}

}  // namespace
}  // namespace quorlin::driver
