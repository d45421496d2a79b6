#include "schema/field_editing.h"

#include <gtest/gtest.h>

#include <numeric>

#include "support/case_names.h"

namespace quorlin {
namespace {

TEST(FieldLayout, SeparatorTextFollowsTheKind) {
  FileLayout layout;
  const std::pair<SeparatorKind, std::string> cases[] = {{SeparatorKind::Comma, ","},
                                                         {SeparatorKind::Tab, "\t"},
                                                         {SeparatorKind::Space, " "},
                                                         {SeparatorKind::Custom, ";"},
                                                         {SeparatorKind::Fixed, ""}};
  layout.customSeparator = ";";
  for (const auto& [kind, text] : cases) {
    layout.separator = kind;
    EXPECT_EQ(text, SeparatorText(layout));
  }
  layout.separator = SeparatorKind::Custom;
  layout.customSeparator = "";
  EXPECT_EQ("", SeparatorText(layout));
  layout.customSeparator = "|#";
  EXPECT_EQ("|", SeparatorText(layout));
  EXPECT_EQ("Field0", DefaultFieldName(0));
  EXPECT_EQ("Field12", DefaultFieldName(12));
}

TEST(FieldEditing, CharacterTypesAndDateFormats) {
  EXPECT_TRUE(IsCharacterType("Char"));
  EXPECT_TRUE(IsCharacterType("LongChar"));
  EXPECT_TRUE(IsCharacterType("varCHAR"));
  EXPECT_FALSE(IsCharacterType("Integer"));

  EXPECT_TRUE(TypeTakesDateFormat("Date", false));
  EXPECT_TRUE(TypeTakesDateFormat("DateTime", false));
  EXPECT_TRUE(TypeTakesDateFormat("time", false));
  EXPECT_FALSE(TypeTakesDateFormat("Date", true));
  EXPECT_FALSE(TypeTakesDateFormat("Char", false));
}

TEST(FieldEditing, LongestColumnValueSkipsBlankCellsButCountsTheirBlanks) {
  const std::vector<std::vector<std::string>> rows = {
      {"a", " ab "}, {"bbb", "   "}, {"c"}, {"", "x"}};
  EXPECT_EQ(3, LongestColumnValue(rows, 0));
  EXPECT_EQ(4, LongestColumnValue(rows, 1));
  EXPECT_EQ(-1, LongestColumnValue(rows, 2));
  EXPECT_EQ(-1, LongestColumnValue({}, 0));
  EXPECT_EQ(-1, LongestColumnValue({{" ", "\t"}}, 1));
}

struct WidthCase {
  const char* type;
  const char* widthBox;
  bool fixed;
  long long longest;
  const char* expected;
};

void PrintTo(const WidthCase& c, std::ostream* os) {
  *os << c.type << " width " << c.widthBox << (c.fixed ? " fixed" : "") << " longest " << c.longest;
}

class WidthAfterTypeChangeTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(WidthAfterTypeChangeTest, FollowsTheWidthRule) {
  const WidthCase& c = GetParam();
  EXPECT_EQ(c.expected, WidthAfterTypeChange(c.type, c.widthBox, c.fixed, c.longest));
}

INSTANTIATE_TEST_SUITE_P(
    ByType, WidthAfterTypeChangeTest,
    ::testing::Values(WidthCase{"Char", "0", false, 7, "7"},
                      WidthCase{"Char", "0", false, -1, "-1"},  // every preview cell blank
                      WidthCase{"LongChar", "30", false, 7, "30"},
                      WidthCase{"char", "00", false, 5, "5"},
                      WidthCase{"Integer", "12", false, 7, "0"},
                      WidthCase{"Integer", "0", false, -1, "0"},
                      WidthCase{"Date", "0", true, 9, "9"},  // fixed: every field has a width
                      WidthCase{"Long", "6", true, 9, "6"}, WidthCase{"Float", "0", true, -1, "-1"},
                      WidthCase{"Char", "12x", false, 3, "12x"}),
    testing::PrintedCaseName{});

TEST(FieldEditing, AddChecksEveryBoxAndNumbersWithIsNumeric) {
  const LocaleSettings locale;
  EXPECT_TRUE(CanAddField("Amount", "Float", "0", "1", "25", locale));
  EXPECT_TRUE(CanAddField("Amount", "Char", "12.5", "1", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "12", "1", "", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "12", "1", "  ", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "12", "", "25", locale));
  EXPECT_FALSE(CanAddField(" ", "Char", "12", "1", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "", "12", "1", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "", "1", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "twelve", "1", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "12", "first", "25", locale));
  EXPECT_FALSE(CanAddField("Amount", "Char", "12", "1", "all", locale));
}

FieldList FixedFields(std::initializer_list<const char*> widths) {
  FieldList fields;
  for (const char* width : widths) {
    fields.push_back(
        {DefaultFieldName(static_cast<long long>(fields.size()) + 1), "Char", width, {}});
  }
  return fields;
}

std::vector<std::string> Widths(const FieldList& fields) {
  std::vector<std::string> widths;
  for (const FieldSpec& field : fields) widths.push_back(field.width);
  return widths;
}

TEST(FieldEditing, FixedDeleteGivesTheWidthToTheFieldBefore) {
  FieldList fields = FixedFields({"10", "6", "24"});
  EXPECT_EQ(0, DeleteField(fields, 1, true));
  EXPECT_EQ((std::vector<std::string>{"16", "24"}), Widths(fields));
  EXPECT_EQ("Field1", fields[0].name);
  EXPECT_EQ("Field3", fields[1].name);

  fields = FixedFields({"10", "6", "24"});
  EXPECT_EQ(1, DeleteField(fields, 2, true));
  EXPECT_EQ((std::vector<std::string>{"10", "30"}), Widths(fields));
}

TEST(FieldEditing, FixedDeleteOfTheFirstFieldGivesItsWidthToTheNext) {
  FieldList fields = FixedFields({"10", "6", "24"});
  EXPECT_EQ(0, DeleteField(fields, 0, true));
  EXPECT_EQ((std::vector<std::string>{"16", "24"}), Widths(fields));
  EXPECT_EQ("Field2", fields[0].name);
}

TEST(FieldEditing, FixedDeleteKeepsTheRecordLength) {
  const FieldList original = FixedFields({"3", "0", "7", "12", "1"});
  for (std::size_t index = 0; index < original.size(); ++index) {
    FieldList fields = original;
    DeleteField(fields, index, true);
    ASSERT_EQ(original.size() - 1, fields.size());
    long long sum = 0;
    for (const FieldSpec& field : fields) sum += std::stoll(field.width);
    EXPECT_EQ(23, sum) << "deleting field " << index;
  }
}

TEST(FieldEditing, DeleteInOtherCasesOnlyRemoves) {
  FieldList fields = FixedFields({"10", "6"});
  EXPECT_EQ(-1, DeleteField(fields, 0, false));
  EXPECT_EQ((std::vector<std::string>{"6"}), Widths(fields));
  EXPECT_EQ(-1, DeleteField(fields, 0, true));
  EXPECT_TRUE(fields.empty());
  EXPECT_EQ(-1, DeleteField(fields, 0, true));

  fields = FixedFields({"10", "6"});
  EXPECT_EQ(-1, DeleteField(fields, 2, true));
  EXPECT_EQ(2u, fields.size());
}

TEST(FieldEditing, DeleteCountsAWidthThatIsNoWholeNumberAsZero) {
  FieldList fields = FixedFields({"10", "6.5", "24"});
  EXPECT_EQ(0, DeleteField(fields, 1, true));
  EXPECT_EQ((std::vector<std::string>{"10", "24"}), Widths(fields));
  fields = FixedFields({"x", "6"});
  EXPECT_EQ(0, DeleteField(fields, 1, true));
  EXPECT_EQ((std::vector<std::string>{"6"}), Widths(fields));
}

}  // namespace
}  // namespace quorlin
