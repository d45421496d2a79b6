// The file's own date order and decimal symbol: proposed from values, saved, read back, used.
#include "schema/file_conventions.h"

#include <gtest/gtest.h>

#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "schema/value_recognisers.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;

FileConventions Proposed(const std::vector<std::string>& column) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& value : column) rows.push_back({value});
  return ProposeConventions(rows);
}

TEST(ProposeConventions, DatesTellTheirOrderWhenAPartCannotBeAMonth) {
  EXPECT_EQ("dd/mm/yyyy", Proposed({"03/11/1998", "15/01/2002"}).dateOrder);
  EXPECT_EQ("mm/dd/yyyy", Proposed({"03/11/1998", "01/15/2002 10:30"}).dateOrder);
  EXPECT_EQ("yyyy-mm-dd", Proposed({"2002-01-15", "1998/03/11"}).dateOrder);
  EXPECT_EQ("dd/mm/yyyy", Proposed({"15.01.02"}).dateOrder);
  EXPECT_EQ("", Proposed({"03/11/1998", "04/05/2001"}).dateOrder) << "nothing tells";
  EXPECT_EQ("", Proposed({"15/01/2002", "01/15/2002"}).dateOrder) << "values disagree";
  EXPECT_EQ("", Proposed({"15/01", "123/45/6789", "Jan 15"}).dateOrder);
}

TEST(ProposeConventions, NumbersTellTheirDecimalSymbolUnlessThreeDigitsFollowIt) {
  EXPECT_EQ(",", Proposed({"1.234,56"}).decimalSymbol);
  EXPECT_EQ(",", Proposed({"12,5", "-3,25", "7"}).decimalSymbol);
  EXPECT_EQ(".", Proposed({"12.5", "1,234.56"}).decimalSymbol);
  EXPECT_EQ("", Proposed({"1.234", "1,000", "42"}).decimalSymbol) << "thousands or decimals";
  EXPECT_EQ("", Proposed({"12.5", "12,5"}).decimalSymbol) << "values disagree";
  EXPECT_EQ("", Proposed({"15.01.2002", "v1.2.3", "Smith, John"}).decimalSymbol);
}

TEST(WithConventions, TheFileChoiceGoesBeforeTheLocale) {
  LocaleSettings german;
  german.shortDateFormat = "dd.MM.yyyy";
  german.dateSeparator = '.';
  german.decimalSeparator = ',';
  const LocaleSettings file = WithConventions(german, {"mm/dd/yyyy", "."});
  EXPECT_TRUE(IsNumeric("12.5", file));
  EXPECT_FALSE(IsNumeric("12,5", file));
  const DateTime when = ToDateTime("03/11/1998", file);
  EXPECT_EQ(3, when.month);
  EXPECT_EQ(11, when.day);
  EXPECT_EQ("MM/dd/yyyy", file.shortDateFormat);
  EXPECT_EQ(german.shortDateFormat, WithConventions(german, {}).shortDateFormat);
  EXPECT_EQ(',', WithConventions(german, {}).decimalSeparator);
}

// A section without the keys is byte for byte what it always was, and means the locale.
TEST(ConventionKeys, AreWrittenOnlyWhenSetAndReadBack) {
  TempDir dir;
  FileLayout layout;
  const FieldList fields = {{"A", "Date", "0", std::nullopt}};
  ASSERT_TRUE(SaveToSchema(dir.Path(), "plain.csv", layout, fields, true, "").written);
  layout.conventions = {"dd/mm/yyyy", ","};
  ASSERT_TRUE(SaveToSchema(dir.Path(), "own.csv", layout, fields, true, "").written);
  EXPECT_EQ("[plain.csv]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
            "CharacterSet=OEM\r\nCol1=A Date\r\n"
            "[own.csv]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\n"
            "CharacterSet=OEM\r\nDateTimeFormat=dd/mm/yyyy\r\nDecimalSymbol=,\r\nCol1=A Date\r\n",
            ReadBytes(dir.File("Schema.INI")));
  const ProfileFile file(dir.File("Schema.INI"));
  EXPECT_EQ(FileConventions{}, ReadSavedLayout(file, "plain.csv").conventions);
  EXPECT_EQ((FileConventions{"dd/mm/yyyy", ","}), ReadSavedLayout(file, "own.csv").conventions);
}

TEST(ConventionKeys, AnUnknownValueLeavesTheChoiceToTheLocale) {
  TempDir dir;
  testing::WriteBytes(dir.File("Schema.INI"), "[f]\r\nDateTimeFormat=DD/MM/YYYY\r\nDecimalSymbol=;\r\n");
  const SavedLayout saved = ReadSavedLayout(ProfileFile(dir.File("Schema.INI")), "f");
  EXPECT_EQ((FileConventions{"dd/mm/yyyy", ""}), saved.conventions);
}

}  // namespace
}  // namespace quorlin
