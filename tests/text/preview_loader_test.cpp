// The preview of a delimited file: columns from line 1, shown lines, qualifier clean-up.
#include "text/preview_loader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_error.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using Row = std::vector<std::string>;

class PreviewLoader : public ::testing::Test {
 protected:
  PreviewTable Load(const std::string& bytes, const PreviewOptions& options) {
    testing::WriteBytes(dir_.File("data.txt"), bytes);
    return LoadPreview(dir_.File("data.txt"), options);
  }

  static PreviewOptions Comma() {
    PreviewOptions options;
    options.separator = ",";
    return options;
  }

  std::string Numbered(int lines) {
    std::string bytes;
    for (int i = 1; i <= lines; ++i) bytes += "a" + std::to_string(i) + ",b\r\n";
    return bytes;
  }

  testing::TempDir dir_;
};

TEST_F(PreviewLoader, EmptyFileGivesOneDefaultColumnAndNoRows) {
  const PreviewTable table = Load("", Comma());
  EXPECT_EQ(Row{"1"}, table.numbers);
  EXPECT_EQ(Row{"Field1"}, table.names);
  EXPECT_TRUE(table.rows.empty());
}

TEST_F(PreviewLoader, NumberingFromZero) {
  PreviewOptions options = Comma();
  options.numberingBase = 0;
  const PreviewTable table = Load("x,y\r\n", options);
  EXPECT_EQ((Row{"0", "1"}), table.numbers);
  EXPECT_EQ((Row{"Field0", "Field1"}), table.names);
}

TEST_F(PreviewLoader, HeaderRowOnlyGivesNamesAndNoRows) {
  PreviewOptions options = Comma();
  options.hasHeaderRow = true;
  const PreviewTable table = Load("Name,Amount\r\n", options);
  EXPECT_EQ((Row{"Name", "Amount"}), table.names);
  EXPECT_TRUE(table.rows.empty());
}

TEST_F(PreviewLoader, HeaderRowMakesLineTwoTheFirstShown) {
  PreviewOptions options = Comma();
  options.hasHeaderRow = true;
  const PreviewTable table = Load("Name,Amount\r\nann,1\r\nbob,2\r\n", options);
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ((Row{"ann", "1"}), table.rows[0]);
}

TEST_F(PreviewLoader, StartRowThreeShowsLinesThreeToTwentySeven) {
  PreviewOptions options = Comma();
  options.startRow = 3;
  options.rowsToScan = 25;
  const PreviewTable table = Load(Numbered(100), options);
  ASSERT_EQ(25u, table.rows.size());
  EXPECT_EQ("a3", table.rows.front()[0]);
  EXPECT_EQ("a27", table.rows.back()[0]);
}

TEST_F(PreviewLoader, RowValuesBelowOneCountAsDefaults) {
  PreviewOptions options = Comma();
  options.startRow = -4;
  options.rowsToScan = 0;
  const PreviewTable table = Load(Numbered(30), options);
  ASSERT_EQ(25u, table.rows.size());
  EXPECT_EQ("a1", table.rows.front()[0]);
}

TEST_F(PreviewLoader, StartRowBeyondTheEndShowsNothing) {
  PreviewOptions options = Comma();
  options.startRow = 50;
  EXPECT_TRUE(Load(Numbered(10), options).rows.empty());
}

TEST_F(PreviewLoader, RowsHaveExactlyTheColumnsOfLineOne) {
  const PreviewTable table = Load("a,b,c\r\n1,2,3,4,5\r\n1\r\n", Comma());
  ASSERT_EQ(3u, table.rows.size());
  EXPECT_EQ((Row{"1", "2", "3"}), table.rows[1]);
  EXPECT_EQ((Row{"1", "", ""}), table.rows[2]);
}

TEST_F(PreviewLoader, ColumnsComeFromLineOneWhateverTheStartRow) {
  PreviewOptions options = Comma();
  options.startRow = 2;
  const PreviewTable table = Load("a\r\n1,2,3\r\n", options);
  EXPECT_EQ(Row{"Field1"}, table.names);
  ASSERT_EQ(1u, table.rows.size());
  EXPECT_EQ(Row{"1"}, table.rows[0]);
}

TEST_F(PreviewLoader, LineFeedFileShowsItsLinesWhileFeedsBesideCarriageReturnsAreData) {
  EXPECT_EQ((std::vector<Row>{{"a", "b"}, {"c", "d"}}), Load("a,b\nc,d\n", Comma()).rows);
  const PreviewTable mixed = Load("a,b\nc,d\r\n", Comma());
  EXPECT_EQ(3u, mixed.names.size());
  EXPECT_EQ((std::vector<Row>{{"a", "b\nc", "d"}}), mixed.rows);
}

TEST_F(PreviewLoader, LineLongerThanTheBoundIsCutAndSaidSo) {
  const std::string endless(kMaxShownLineBytes + 10, 'x');
  const PreviewTable table = Load(endless + "\r\nshort\r\n", Comma());
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ(kMaxShownLineBytes, table.rows[0][0].size());
  EXPECT_EQ("short", table.rows[1][0]);
  EXPECT_EQ(std::vector<std::string>{LineCutMessage(1)}, CutMessages(table));
}

// Cells cost more than their bytes: lines of many one-byte fields would otherwise need many
// times the file's size.
TEST_F(PreviewLoader, RowsBeyondTheMemoryBoundAreLeftOutAndSaidSo) {
  std::string line;
  for (std::size_t i = 1; i < kMaxPreviewColumns; ++i) line += "v,";
  line += "v";
  std::string bytes;
  for (int i = 0; i < 25; ++i) bytes += line + "\r\n";
  const PreviewTable table = Load(bytes, Comma());
  ASSERT_TRUE(table.linesCut);
  std::size_t kept = 0;
  for (const std::string& text : table.names) kept += 2 * KeptCost(text);
  for (const Row& row : table.rows) {
    for (const std::string& cell : row) kept += KeptCost(cell);
  }
  EXPECT_LE(kept, kMaxPreviewBytes);
  EXPECT_GT(table.rows.size(), 5u);
  EXPECT_EQ(std::vector<std::string>{LinesCutMessage(table.rows.size())}, CutMessages(table));
}

TEST_F(PreviewLoader, ColumnsBeyondTheLimitAreCutAndSaidSo) {
  std::string line;
  for (std::size_t i = 0; i < kMaxPreviewColumns + 5; ++i) line += "v,";
  const PreviewTable table = Load(line + "\r\n" + line + "\r\n", Comma());
  EXPECT_TRUE(table.columnsCut);
  EXPECT_EQ(kMaxPreviewColumns, table.names.size());
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ(kMaxPreviewColumns, table.rows[1].size());
  EXPECT_EQ("Field" + std::to_string(kMaxPreviewColumns), table.names.back());

  EXPECT_FALSE(Load("a,b\r\n", Comma()).columnsCut);
}

TEST_F(PreviewLoader, NothingAfterCtrlZ) {
  const PreviewTable table = Load("a,b\r\nc,d\r\n\x1a" "e,f\r\n", Comma());
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ((Row{"c", "d"}), table.rows[1]);
}

TEST_F(PreviewLoader, FieldsStillStartingWithTheQualifierLoseBothEnds) {
  PreviewOptions options = Comma();
  options.qualifier = "'";
  const PreviewTable table = Load("a, 'b', c\r\na, 'b'\r\n',x\r\n", options);
  ASSERT_EQ(3u, table.rows.size());
  EXPECT_EQ((Row{"a", "b", " c"}), table.rows[0]);
  EXPECT_EQ((Row{"a", " 'b'", ""}), table.rows[1]);
  EXPECT_EQ((Row{"", "x", ""}), table.rows[2]);
}

TEST_F(PreviewLoader, SingleQualifierCharacterFieldBecomesEmpty) {
  PreviewOptions options = Comma();
  options.qualifier = "'";
  const PreviewTable table = Load("a,b\r\nx, ',y\r\n", options);
  EXPECT_EQ((Row{"x", ""}), table.rows[1]);
}

TEST_F(PreviewLoader, QualifierNoneShowsQuotesAsData) {
  PreviewOptions options = Comma();
  options.qualifier = "{none}";
  const PreviewTable table = Load("\"a\",'b'\r\n", options);
  EXPECT_EQ((Row{"\"a\"", "'b'"}), table.rows[0]);
}

TEST_F(PreviewLoader, EmptyQualifierStripsNothing) {
  PreviewOptions options = Comma();
  options.qualifier = "";
  EXPECT_EQ((Row{"\"a\"", "b"}), Load("\"a\",b\r\n", options).rows[0]);
}

TEST_F(PreviewLoader, EmptySeparatorGivesOneColumn) {
  PreviewOptions options;
  const PreviewTable table = Load("a,b\tc\r\n", options);
  EXPECT_EQ(Row{"a,b\tc"}, table.rows[0]);
}

TEST_F(PreviewLoader, MissingFileRaisesFileError) {
  EXPECT_THROW(LoadPreview(dir_.File("absent.csv"), Comma()), FileError);
}

}  // namespace
}  // namespace quorlin
