#include "odbc/driver/cell_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "odbc/driver/sql_error.h"
#include "schema/number_reading.h"
#include "support/case_names.h"

namespace quorlin::driver {
namespace {

struct ConversionCase {
  const char* field;
  ColumnKind kind;
  const char* shown;  // the character form, or the SQLSTATE of the refusal
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
  constexpr const char* kKindNames[] = {"Text", "LongText", "TinyInt", "SmallInt", "Integer", "BigInt",
                                        "Double", "Date", "Time", "Timestamp", "Bit"};
  static_assert(std::size(kKindNames) == static_cast<std::size_t>(ColumnKind::Bit) + 1);
  *out << "'" << c.field << "' as " << kKindNames[static_cast<int>(c.kind)];
}

class FieldConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(FieldConversion, GivesTheCharacterFormOrTheState) {
  LocaleSettings locale;
  locale.currentYear = 2026;
  std::string shown;
  try {
    const CellValue value = ConvertField(GetParam().field, GetParam().kind, locale);
    shown = value.kind == CellValue::Kind::Null ? "NULL" : "";
    AppendCharacterForm(value, shown);
  } catch (const SqlError& error) {
    shown = error.SqlState();
  }
  EXPECT_EQ(GetParam().shown, shown);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldConversion,
    ::testing::Values(ConversionCase{"", ColumnKind::Text, "NULL"},
                      ConversionCase{" a ", ColumnKind::Text, " a "},
                      ConversionCase{"  ", ColumnKind::Integer, "NULL"},
                      ConversionCase{"007", ColumnKind::Integer, "7"},
                      ConversionCase{"+12", ColumnKind::SmallInt, "12"},
                      ConversionCase{"1e3", ColumnKind::Integer, "1000"},
                      ConversionCase{"12.0", ColumnKind::Integer, "12"},
                      ConversionCase{"12.5", ColumnKind::Integer, "22018"},
                      ConversionCase{"12a", ColumnKind::Integer, "22018"},
                      ConversionCase{"2147483648", ColumnKind::Integer, "22003"},
                      ConversionCase{"99999999999999999999", ColumnKind::Integer, "22003"},
                      ConversionCase{"256", ColumnKind::TinyInt, "22003"},
                      ConversionCase{"-1", ColumnKind::TinyInt, "22003"},
                      ConversionCase{"32767", ColumnKind::SmallInt, "32767"},
                      ConversionCase{"-3.5", ColumnKind::Double, "-3.5"},
                      ConversionCase{".", ColumnKind::Double, "0"},
                      ConversionCase{"1,000", ColumnKind::Double, "22018"},
                      ConversionCase{"1e400", ColumnKind::Double, "22003"},
                      ConversionCase{"1e-400", ColumnKind::Double, "0"},
                      ConversionCase{"-.e5", ColumnKind::Double, "0"},
                      ConversionCase{"-1e400", ColumnKind::Integer, "22003"},
                      ConversionCase{"1e400", ColumnKind::Bit, "22003"},
                      ConversionCase{"Jan 15 2002", ColumnKind::Date, "2002-01-15"},
                      ConversionCase{"01/15/02 10:30", ColumnKind::Timestamp, "2002-01-15 10:30:00"},
                      ConversionCase{"01/15/2002 10:30", ColumnKind::Date, "2002-01-15"},
                      ConversionCase{"10:30:05", ColumnKind::Time, "10:30:05"},
                      ConversionCase{"Market", ColumnKind::Date, "22018"},
                      ConversionCase{" yes ", ColumnKind::Bit, "1"},
                      ConversionCase{"Off", ColumnKind::Bit, "0"},
                      ConversionCase{"ON", ColumnKind::Bit, "1"},
                      ConversionCase{"0", ColumnKind::Bit, "0"},
                      ConversionCase{"-2", ColumnKind::Bit, "1"},
                      ConversionCase{"Y", ColumnKind::Bit, "22018"}),
    testing::PrintedCaseName{});

TEST(FieldConversion, ASavedDateFormatDecidesTheOrderOfDayAndMonth) {
  LocaleSettings dayFirst;
  dayFirst.shortDateFormat = "dd/MM/yyyy";
  std::string shown;
  AppendCharacterForm(ConvertField("03/04/2002", ColumnKind::Date, dayFirst), shown);
  EXPECT_EQ("2002-04-03", shown);
}

TEST(FieldConversion, RefusalsQuoteTheTextAndSayWhatItShouldBe) {
  try {
    ConvertField("12a", ColumnKind::Double, LocaleSettings{});
    FAIL() << "converted";
  } catch (const SqlError& error) {
    EXPECT_STREQ("\"12a\" is not a number", error.what());
  }
}

TEST(FieldConversion, ANumberBeyondADoubleIsRefusedInTheWordsOfEveryReader) {
  for (const ColumnKind kind : {ColumnKind::Double, ColumnKind::BigInt}) {
    try {
      ConvertField(" 1e400 ", kind, LocaleSettings{});
      FAIL() << "converted";
    } catch (const SqlError& error) {
      EXPECT_EQ(NumberOutOfRangeMessage("1e400"), error.what());
    }
  }
}

// Numbers read straight from their digits must give the double and the shortest form that the
// standard library gives for the same text, whichever way the text is written.
TEST(FieldConversion, ReadsAndWritesNumbersAsTheStandardLibraryDoes) {
  std::mt19937_64 random(20261210);
  std::vector<std::string> texts = {"0.1",    "0.30",   "-0.0",  "100000.0", "1.5e3",   "00012.50", "5.",
                                    ".5",     "-.25",   "12345678901234.5",   "999999999999999", "0.0005",
                                    "1000.000", "-7.10", "123456789012345.6", "2.2250738585072014e-308"};
  for (int k = 0; k < 20000; ++k) {
    const std::string digits = std::to_string(random() % 1'000'000'000'000'000ULL);
    const std::size_t point = random() % (digits.size() + 1);
    std::string text = (random() % 4 == 0 ? "-" : "") + digits.substr(0, point) + "." + digits.substr(point);
    text.append(random() % 3, '0');
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    double expected = 0;
    std::from_chars(text.data() + (text.front() == '+'), text.data() + text.size(), expected);
    char written[32];
    const std::string_view shortest(written, std::to_chars(written, written + sizeof written, expected).ptr - written);
    const CellValue value = ConvertField(text, ColumnKind::Double, LocaleSettings{});
    std::string shown;
    AppendCharacterForm(value, shown);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(expected), std::bit_cast<std::uint64_t>(value.real)) << text;
    EXPECT_EQ(shortest, shown) << text;
  }
  for (const char* whole : {"0", "-0", "+5", "0012", "-12", "9223372036854775807", " 42 "}) {
    std::string shown;
    AppendCharacterForm(ConvertField(whole, ColumnKind::BigInt, LocaleSettings{}), shown);
    EXPECT_EQ(std::to_string(std::stoll(whole)), shown) << whole;
  }
}

TEST(IsoLiterals, AreCheckedForValidDatesAndTimes) {
  DateTime when;
  EXPECT_TRUE(ParseIsoDateTime("2024-02-29", CellValue::Kind::Date, when));
  EXPECT_FALSE(ParseIsoDateTime("2023-02-29", CellValue::Kind::Date, when));
  EXPECT_TRUE(ParseIsoDateTime("2002-01-15 10:30:00.25", CellValue::Kind::Timestamp, when));
  EXPECT_EQ(250, when.millisecond);
  EXPECT_FALSE(ParseIsoDateTime("24:00:00", CellValue::Kind::Time, when));
  EXPECT_FALSE(ParseIsoDateTime("2002-1-15", CellValue::Kind::Date, when));
}

}  // namespace
}  // namespace quorlin::driver
