#include "schema/structure_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_files.h"

namespace quorlin {
namespace {

LocaleSettings DayMonthYear() {
  LocaleSettings locale;
  locale.shortDateFormat = "dd/MM/yyyy";
  return locale;
}

// "name type width" per field, one a line, so a failure shows the whole list.
std::string Described(const FieldList& fields) {
  std::string text;
  for (const FieldSpec& field : fields) {
    text += field.name + ' ' + field.typeName + ' ' + field.width + '\n';
  }
  return text;
}

FieldSpec Unknown(std::string name) { return FieldSpec{std::move(name), "Unknown", "0", {}}; }

TEST(GuessDelimitedFields, TypesAndCharWidthsOfAColumn) {
  std::vector<std::string> tenNumbersThenBlanks(10, "12");
  tenNumbersThenBlanks.resize(25);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"15/01/2002", "none", "n/a"}, "Date 0"},  // a date first looks no further
      {{"10:30", "late"}, "Date 0"},
      {{"15/01/2002 10:30", "x"}, "Date 0"},
      {{"Yes", "12345"}, "Bit 0"},
      {{"ab", " abcd ", "   "}, "Char 6"},  // the longest untrimmed cell
      {{"", "", ""}, "Char 0"},
      {tenNumbersThenBlanks, "Char 2"},
      {{"7", "a", "b", "700", "c"}, "Long 0"},
      {{}, "Char 0"},  // no data rows: a blank sample, and no vote to make it Bit
  };
  for (const auto& [column, expected] : cases) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& value : column) rows.push_back({value});
    FieldList fields = {Unknown("F")};
    GuessDelimitedFields(fields, rows, DayMonthYear(), 1);
    EXPECT_EQ("F " + expected + '\n', Described(fields)) << ::testing::PrintToString(column);
  }
}

TEST(GuessDelimitedFields, LeavesTypedFieldsAndGivesAddedFieldsNoRows) {
  // The third field was added beyond the grid's two columns.
  FieldList fields = {Unknown("A"), FieldSpec{"B", "Long", "7", {}}, Unknown("C")};
  GuessDelimitedFields(fields, {{"abc", "x"}, {"d", "y"}}, DayMonthYear(), 1);
  EXPECT_EQ("A Char 3\nB Long 7\nC Char 0\n", Described(fields));
}

// A title line such as a,,c names no second field; a blank name would not survive a save.
TEST(GuessDelimitedFields, NamesABlankTitleByItsNumber) {
  FieldList fields = {Unknown("a"), Unknown(" "), FieldSpec{"", "Long", "0", {}}};
  GuessDelimitedFields(fields, {{"x", "y", "1"}}, DayMonthYear(), 0);
  EXPECT_EQ("a Char 1\nField1 Char 1\nField2 Long 0\n", Described(fields));
}

// Marks at 6 and 16 on records of 41 characters: widths 5, 10 and 25.
FixedGuess GuessFixed(const std::string& bytes, FixedGuessRequest request = {},
                      std::vector<int> marks = {6, 16}) {
  const testing::TempDir dir;
  testing::WriteBytes(dir.File("data.txt"), bytes);
  request.path = dir.File("data.txt");
  if (request.lineLength == 0) request.lineLength = 41;
  for (const int position : marks) request.breaks.Toggle(position);
  return GuessFixedFields(request, DayMonthYear());
}

TEST(GuessFixedFields, FieldsFromBreaksNamedByNumberAndTypedFromTheLines) {
  const FixedGuess guess = GuessFixed("00042Hammer    15/01/2002\r\n00043Saw       16/01/2002\r\n",
                                      {.numberingBase = 0});
  EXPECT_EQ("Field0 Char 5\nField1 Char 10\nField2 Date 25\n", Described(guess.fields));
}

TEST(GuessFixedFields, NamesFromTheTitleLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ID,NAME,CITY", "ID\nNAME\nCITY\n"},
      {"Id   Name      City", "Id\nName\nCity\n"},       // cut at the breaks
      {"Id   Name", "Id\nName\nField3\n"},              // a blank name is numbered
      {"ID,,CITY", "ID\nField2\nCITY\n"}};
  for (const auto& [title, expected] : cases) {
    const FixedGuess guess = GuessFixed(title + "\r\n12345abc\r\n", {.hasHeaderRow = true});
    std::string names;
    for (const FieldSpec& field : guess.fields) names += field.name + '\n';
    EXPECT_EQ(expected, names) << title;
  }
}

TEST(GuessFixedFields, RefusesWhenBreaksOrTitlesDisagree) {
  const std::string titles = "Number of Fields defined\ndoes NOT MATCH number marked in Grid";
  const std::string breaks = "Field Count (3) and LineBreaks (4) do not agree";
  const std::vector<std::tuple<std::string, std::vector<int>, std::string>> cases = {
      {"a", {6, 16, 41}, breaks},  // a break at the record length does not count
      {"a", {6, 16, 300}, breaks},
      {"ID,NAME", {6, 16}, titles},
      {"A,B,C,D", {6, 16}, titles}};
  for (const auto& [title, marks, message] : cases) {
    const FixedGuess guess = GuessFixed(title + "\r\n1\r\n", {.hasHeaderRow = true}, marks);
    EXPECT_EQ(message, guess.refusal.value_or("")) << title << ' ' << marks.back();
    EXPECT_TRUE(guess.fields.empty());
  }
}

TEST(GuessFixedFields, VotingLinesFollowStartRowAndRowsToScan) {
  // Lines 1..24 vote Byte and Char twelve each (a tie: Byte), line 25 tips it to Char, and
  // lines 26..40 would tip it back.
  std::string bytes;
  for (int line = 1; line <= 40; ++line) {
    bytes += (line >= 2 && line <= 12) || line == 24 || line == 25 ? "x\r\n" : "5\r\n";
  }
  const std::vector<std::tuple<long long, long long, std::string>> cases = {
      {1, 25, "Byte"},    // rows to scan minus the start row vote
      {0, 25, "Byte"},    // a start below 1 counts as 1
      {1, 40, "Char"}};   // at most 25 lines vote
  for (const auto& [start, rows, expected] : cases) {
    const FixedGuess guess =
        GuessFixed(bytes, {.lineLength = 2, .startRow = start, .rowsToScan = rows}, {});
    EXPECT_EQ("Field1 " + expected + " 1\n", Described(guess.fields)) << start << ' ' << rows;
  }
}

TEST(GuessFixedFields, TheSampleLineDecidesAloneWhenNoLineVotes) {
  // With a title and start row 3, lines 2 to 4 are skipped and line 5 is the sample.
  EXPECT_EQ("title Date 10\n",
            Described(GuessFixed("title\r\n1\r\n2\r\n3\r\n15/01/2002\r\nx\r\n",
                                 {.lineLength = 11, .hasHeaderRow = true, .startRow = 3}, {}).fields));
  // Start row 30 of 25 rows to scan: no line votes, and line 31's numbers are not Bit.
  std::string bytes;
  for (int line = 1; line <= 40; ++line) bytes += "1500 2.5\r\n";
  EXPECT_EQ("Field1 Long 5\nField2 Float 3\n",
            Described(GuessFixed(bytes, {.lineLength = 9, .startRow = 30}, {6}).fields));
}

}  // namespace
}  // namespace quorlin
