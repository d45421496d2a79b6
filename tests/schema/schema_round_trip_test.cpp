#include <gtest/gtest.h>

#include <numeric>

#include "schema/schema_reader.h"
#include "schema/schema_writer.h"
#include "support/case_names.h"
#include "support/test_files.h"
#include "text/fixed_ruler.h"

namespace quorlin {
namespace {

using testing::TempDir;

struct RoundTripCase {
  SeparatorKind kind;
  const char* custom;
  bool odbcOnly;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  PrintTo(c.kind, os);
  if (*c.custom != '\0') *os << " " << c.custom;
  *os << (c.odbcOnly ? " ODBC form" : " extended form");
}

class SchemaRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

FieldList SampleFields() {
  return {{"Id", "Long", "0", std::nullopt},         {"Name", "Char", "30", ""},
          {"Placed", "DateTime", "0", "yyyy/MM/dd"}, {"At", "Time", "0", "HH:mm"},
          {"Notes", "LongChar", "00", std::nullopt}, {"Flag", "Unknown", "-1", std::nullopt}};
}

TEST_P(SchemaRoundTripTest, DelimitedLayoutReadsBack) {
  const RoundTripCase& c = GetParam();
  TempDir dir;
  FileLayout layout;
  layout.separator = c.kind;
  layout.customSeparator = c.custom;
  layout.hasHeaderRow = true;
  layout.rowsToScan = "15";
  ASSERT_TRUE(SaveToSchema(dir.Path(), "data.txt", layout, SampleFields(), c.odbcOnly, "").written);

  const ProfileFile file(dir.File("Schema.INI"));
  ASSERT_TRUE(SectionHasFields(file, "data.txt"));
  const SavedLayout saved = ReadSavedLayout(file, "data.txt");
  EXPECT_EQ(c.kind, saved.separator);
  EXPECT_EQ(c.custom, saved.customSeparator);
  EXPECT_TRUE(saved.hasHeaderRow);
  EXPECT_EQ("15", saved.rowsToScan);

  const FieldList expected =
      c.odbcOnly ? FieldList{{"Id", "Integer", "0", ""},      {"Name", "Char", "30", ""},
                             {"Placed", "Date", "0", ""},     {"At", "Date", "0", ""},
                             {"Notes", "LongChar", "00", ""}, {"Flag", "Unknown", "0", ""}}
                 : FieldList{{"Id", "Long", "0", ""},
                             {"Name", "Char", "30", ""},
                             {"Placed", "DateTime", "0", "yyyy/MM/dd"},
                             {"At", "Time", "0", "HH:mm"},
                             {"Notes", "LongChar", "00", ""},
                             {"Flag", "Unknown", "0", ""}};
  EXPECT_EQ(expected, ReadDelimitedFields(file, "data.txt", 6));
}

// Every reader of the entries reads them with the double quote as qualifier, so the layout's
// own qualifier makes no difference.
TEST(SchemaRoundTripNames, NamesWithBlanksAndQuotesReadBackWhole) {
  TempDir dir;
  FileLayout layout;
  layout.textQualifier = "'";
  const FieldList fields = {{"Price ($)", "Byte", "0", std::nullopt},
                            {"2nd name", "Char", "20", std::nullopt},
                            {"\"Quoted\" one", "Char", "5", std::nullopt},
                            {"O'Brien", "Char", "5", std::nullopt},
                            {"", "Long", "0", std::nullopt}};
  ASSERT_TRUE(SaveToSchema(dir.Path(), "data.csv", layout, fields, false, "").written);
  const FieldList read = ReadDelimitedFields(ProfileFile(dir.File("Schema.INI")), "data.csv", 9);
  ASSERT_EQ(5u, read.size());
  EXPECT_EQ((FieldSpec{"Price ($)", "Byte", "0", ""}), read[0]);
  EXPECT_EQ((FieldSpec{"2nd name", "Char", "20", ""}), read[1]);
  EXPECT_EQ((FieldSpec{"\"Quoted\" one", "Char", "5", ""}), read[2]);
  EXPECT_EQ((FieldSpec{"O'Brien", "Char", "5", ""}), read[3]);
  EXPECT_EQ((FieldSpec{"Field5", "Long", "0", ""}), read[4]);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SchemaRoundTripTest,
                         ::testing::Values(RoundTripCase{SeparatorKind::Comma, "", true},
                                           RoundTripCase{SeparatorKind::Comma, "", false},
                                           RoundTripCase{SeparatorKind::Tab, "", true},
                                           RoundTripCase{SeparatorKind::Tab, "", false},
                                           RoundTripCase{SeparatorKind::Space, "", true},
                                           RoundTripCase{SeparatorKind::Space, "", false},
                                           RoundTripCase{SeparatorKind::Custom, ";", true},
                                           RoundTripCase{SeparatorKind::Custom, "|", false},
                                           RoundTripCase{SeparatorKind::Custom, ")", false}),
                         testing::PrintedCaseName{});

TEST(SchemaRoundTrip, CustomWithoutCharacterComesBackAsTheClosingBracket) {
  TempDir dir;
  FileLayout layout;
  layout.separator = SeparatorKind::Custom;
  ASSERT_TRUE(SaveToSchema(dir.Path(), "d.txt", layout, {{"a", "Char", "1", {}}}, true, "").written);
  const SavedLayout saved = ReadSavedLayout(ProfileFile(dir.File("Schema.INI")), "d.txt");
  EXPECT_EQ(SeparatorKind::Custom, saved.separator);
  EXPECT_EQ(")", saved.customSeparator);
}

TEST(SchemaRoundTrip, FixedWidthsComeBackExactlyInBothForms) {
  for (const bool odbcOnly : {true, false}) {
    TempDir dir;
    FileLayout layout;
    layout.separator = SeparatorKind::Fixed;
    layout.fixedLength = "57";
    const FieldList fields = {{"Code", "Char", "10", std::nullopt},
                              {"Qty", "Long", "6", std::nullopt},
                              {"Placed", "Date", "8", "ddMMyyyy"},
                              {"Gap", "Char", "00", std::nullopt},
                              {"Text", "Char", "33", std::nullopt}};
    ASSERT_TRUE(SaveToSchema(dir.Path(), "stock.dat", layout, fields, odbcOnly, "").written);

    const ProfileFile file(dir.File("Schema.INI"));
    const SavedLayout saved = ReadSavedLayout(file, "stock.dat");
    EXPECT_EQ(SeparatorKind::Fixed, saved.separator);
    EXPECT_EQ("57", saved.fixedLength);
    const FieldList read = ReadFixedFields(file, "stock.dat");
    ASSERT_EQ(fields.size(), read.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
      EXPECT_EQ(fields[i].name, read[i].name);
      EXPECT_EQ(fields[i].width, read[i].width);
    }
    EXPECT_EQ(odbcOnly ? "Integer" : "Long", read[1].typeName);
    EXPECT_EQ(odbcOnly ? "" : "ddMMyyyy", read[2].format);
    EXPECT_EQ((std::vector<long long>{10, 6, 8, 0, 33}), FieldWidths(read));
  }
}

TEST(SchemaRoundTrip, FixedWidthsAgreeWithTheRulerBreaks) {
  TempDir dir;
  FileLayout layout;
  layout.separator = SeparatorKind::Fixed;
  const FieldList fields = {{"A", "Char", "1", {}},
                            {"B", "Long", "12", {}},
                            {"C", "Char", "7", {}},
                            {"D", "Char", "300", {}}};
  ASSERT_TRUE(SaveToSchema(dir.Path(), "f.dat", layout, fields, false, "").written);

  const std::vector<long long> widths =
      FieldWidths(ReadFixedFields(ProfileFile(dir.File("Schema.INI")), "f.dat"));
  const std::vector<long long> breaks = BreaksFromWidths(widths);
  EXPECT_EQ((std::vector<long long>{2, 14, 21}), breaks);

  BreakModel model;
  for (const long long position : breaks) model.Set(static_cast<int>(position), true);
  const long long recordLength = std::accumulate(widths.begin(), widths.end(), 0LL);
  // The ruler's line length is one past the end of the record.
  const std::vector<int> listed = model.ListedBreaks(static_cast<int>(recordLength + 1));
  EXPECT_EQ(widths, WidthsFromBreaks(listed, recordLength + 1));
}

}  // namespace
}  // namespace quorlin
