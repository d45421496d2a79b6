#include "schema/structure_guess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

using Grid = std::vector<std::vector<std::string>>;

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

Grid OneColumn(const std::vector<std::string>& values) {
  Grid rows;
  for (const std::string& value : values) rows.push_back({value});
  return rows;
}

std::vector<std::string> Repeated(const std::string& value, int times) {
  return std::vector<std::string>(static_cast<std::size_t>(times), value);
}

struct ColumnCase {
  const char* label;
  std::vector<std::string> column;
  std::string expected;  // "type width"
};

TEST(GuessDelimitedFields, TypesAndCharWidthsOfAColumn) {
  std::vector<std::string> tenNumbersThenBlanks = Repeated("12", 10);
  tenNumbersThenBlanks.resize(25);
  // A section read back with MaxScanRows=40 fills forty rows; only the first 25 vote.
  std::vector<std::string> fortyRows = Repeated("5", 1);
  for (const std::string& value : Repeated("xy", 24)) fortyRows.push_back(value);
  for (const std::string& value : Repeated("5", 15)) fortyRows.push_back(value);

  const std::vector<ColumnCase> cases = {
      {"date first, text later", {"15/01/2002", "none", "n/a"}, "Date 0"},
      {"a time is a date", {"10:30", "late"}, "Date 0"},
      {"a date-time is a date", {"15/01/2002 10:30", "x"}, "Date 0"},
      {"boolean first", {"Yes", "12345"}, "Bit 0"},
      {"text takes the longest untrimmed cell", {"ab", " abcd ", "   "}, "Char 6"},
      {"all blank", {"", "", ""}, "Char 0"},
      {"ten numbers and fifteen blanks", tenNumbersThenBlanks, "Char 2"},
      {"seven, text and one 700", {"7", "a", "b", "700", "c"}, "Long 0"},
      {"numbers vote", {"1", "2", "300"}, "Long 0"},
      {"forty rows", fortyRows, "Char 2"},
  };
  for (const ColumnCase& c : cases) {
    FieldList fields = {FieldSpec{"F", "Unknown", "0", {}}};
    GuessDelimitedFields(fields, OneColumn(c.column), DayMonthYear());
    EXPECT_EQ(std::string("F ") + c.expected + '\n', Described(fields)) << c.label;
  }
}

TEST(GuessDelimitedFields, LeavesTypedFieldsAndGivesAddedFieldsNoRows) {
  // The third field was added beyond the grid's two columns.
  FieldList fields = {FieldSpec{"A", "Unknown", "0", {}}, FieldSpec{"B", "Long", "7", {}},
                      FieldSpec{"C", "Unknown", "0", {}}};
  GuessDelimitedFields(fields, {{"abc", "x"}, {"d", "y"}}, DayMonthYear());
  EXPECT_EQ("A Char 3\nB Long 7\nC Char 0\n", Described(fields));
}

TEST(GuessDelimitedFields, WithoutDataRowsTheBlankSampleGivesCharNotBit) {
  FieldList fields = {FieldSpec{"Field1", "Unknown", "0", {}}};
  GuessDelimitedFields(fields, {}, DayMonthYear());
  EXPECT_EQ("Field1 Char 0\n", Described(fields));
}

class GuessFixedFieldsTest : public ::testing::Test {
 protected:
  // Marks at 6 and 16 on records of 41 characters: widths 5, 10 and 25.
  FixedGuessRequest Request(const std::string& bytes) {
    WriteBytes(dir_.File("data.txt"), bytes);
    FixedGuessRequest request;
    request.path = dir_.File("data.txt");
    request.lineLength = 41;
    for (const int position : {6, 16}) request.breaks.Toggle(position);
    return request;
  }

  TempDir dir_;
};

TEST_F(GuessFixedFieldsTest, FieldsFromBreaksNamedByNumberAndTypedFromTheLines) {
  FixedGuessRequest request = Request(
      "00042Hammer    15/01/2002\r\n"
      "00043Saw       16/01/2002\r\n");
  request.numberingBase = 0;
  const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
  ASSERT_FALSE(guess.refusal);
  EXPECT_EQ("Field0 Char 5\nField1 Char 10\nField2 Date 25\n", Described(guess.fields));
}

struct TitleCase {
  const char* label;
  std::string title;
  std::string expectedNames;
};

TEST_F(GuessFixedFieldsTest, NamesFromTheTitleLine) {
  const std::vector<TitleCase> cases = {
      {"comma separated", "ID,NAME,CITY", "ID NAME CITY"},
      {"qualified", "\"ID\",'NAME',CITY", "ID 'NAME' CITY"},
      {"cut at the breaks", "Id   Name      City", "Id Name City"},
      // A blank name would not survive the schema file.
      {"shorter than the fields", "Id   Name", "Id Name Field3"},
      {"empty between commas", "ID,,CITY", "ID Field2 CITY"},
  };
  for (const TitleCase& c : cases) {
    FixedGuessRequest request = Request(c.title + "\r\n12345abc       x\r\n");
    request.hasHeaderRow = true;
    const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
    ASSERT_FALSE(guess.refusal) << c.label;
    std::string names;
    for (const FieldSpec& field : guess.fields) names += (names.empty() ? "" : " ") + field.name;
    EXPECT_EQ(c.expectedNames, names) << c.label;
    EXPECT_EQ("Long", guess.fields[0].typeName) << c.label;
  }
}

struct RefusalCase {
  const char* label;
  std::vector<int> clicks;  // besides 6 and 16
  long long lineLength;
  std::string title;
  std::string message;
};

TEST_F(GuessFixedFieldsTest, RefusesWhenBreaksOrTitlesDisagree) {
  const std::vector<RefusalCase> cases = {
      {"a break at the record length", {41}, 41, "a", "Field Count (3) and LineBreaks (4) do not agree"},
      {"a break past the record length", {300}, 41, "a", "Field Count (3) and LineBreaks (4) do not agree"},
      {"two titles for three fields", {}, 41, "ID,NAME",
       "Number of Fields defined\ndoes NOT MATCH number marked in Grid"},
      {"four titles for three fields", {}, 41, "A,B,C,D",
       "Number of Fields defined\ndoes NOT MATCH number marked in Grid"},
  };
  for (const RefusalCase& c : cases) {
    FixedGuessRequest request = Request(c.title + "\r\n1\r\n");
    request.hasHeaderRow = true;
    request.lineLength = c.lineLength;
    for (const int position : c.clicks) request.breaks.Toggle(position);
    const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
    EXPECT_EQ(c.message, guess.refusal.value_or("")) << c.label;
    EXPECT_TRUE(guess.fields.empty()) << c.label;
  }
}

struct ScanCase {
  const char* label;
  long long startRow;
  long long rowsToScan;
  std::string expectedType;
};

TEST_F(GuessFixedFieldsTest, VotingLinesFollowStartRowAndRowsToScan) {
  // Line 1 is 5; lines 1..24 vote Byte and Char twelve each (a tie: Byte), line 25 tips it to
  // Char, lines 26..40 would tip it back to Byte.
  std::string bytes = "5\r\n";
  for (int line = 2; line <= 40; ++line) {
    const bool text = (line >= 2 && line <= 12) || line == 24 || line == 25;
    bytes += text ? "x\r\n" : "5\r\n";
  }
  const std::vector<ScanCase> cases = {
      {"start 1 votes rows to scan minus one", 1, 25, "Byte"},
      {"a start below 1 counts as 1", 0, 25, "Byte"},
      {"far below 1 too", -30, 25, "Byte"},
      {"at most 25 lines vote", 1, 40, "Char"},
  };
  for (const ScanCase& c : cases) {
    FixedGuessRequest request = Request(bytes);
    request.breaks = BreakModel();
    request.lineLength = 2;
    request.startRow = c.startRow;
    request.rowsToScan = c.rowsToScan;
    const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
    ASSERT_EQ(1u, guess.fields.size()) << c.label;
    EXPECT_EQ(c.expectedType, guess.fields[0].typeName) << c.label;
  }
}

TEST_F(GuessFixedFieldsTest, SampleLineSkipsTheTitleAndStartRowLines) {
  // Title, start row 3: lines 2 to 4 are skipped and line 5 is the sample.
  FixedGuessRequest request =
      Request("title\r\n1\r\n2\r\n3\r\n15/01/2002\r\nx\r\n");
  request.breaks = BreakModel();
  request.lineLength = 11;
  request.hasHeaderRow = true;
  request.startRow = 3;
  const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
  EXPECT_EQ("title Date 10\n", Described(guess.fields));
}

TEST_F(GuessFixedFieldsTest, WithoutVotingLinesTheSampleValueDecidesNotBit) {
  // Start row 30 of 25 rows to scan leaves no line to vote; line 31 is the sample.
  std::string bytes;
  for (int line = 1; line <= 40; ++line) bytes += "1500 2.5\r\n";
  FixedGuessRequest request = Request(bytes);
  request.breaks = BreakModel();
  request.breaks.Toggle(6);
  request.lineLength = 9;
  request.startRow = 30;
  const FixedGuess guess = GuessFixedFields(request, DayMonthYear());
  EXPECT_EQ("Field1 Long 5\nField2 Float 3\n", Described(guess.fields));
}

}  // namespace
}  // namespace quorlin
