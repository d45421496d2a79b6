// The ruler's scan of a fixed-length file, the break flags and the widths they make.
#include "text/fixed_ruler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_error.h"
#include "text/preview_limits.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using Lines = std::vector<std::string>;
using Widths = std::vector<long long>;

std::string Line(int length, char c) { return std::string(length, c) + "\r\n"; }

class RulerFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    testing::WriteBytes(dir_.File("fixed.txt"), bytes);
    return dir_.File("fixed.txt");
  }
  testing::TempDir dir_;
};

TEST_F(RulerFile, LongestOfTheScannedLinesSetsTheLength) {
  const RulerScan scan =
      ScanRuler(Write(Line(10, 'a') + Line(20, 'b') + Line(15, 'c') + Line(40, 'd')), 1, 3);
  EXPECT_EQ(3, scan.countedLines);
  EXPECT_EQ(20, scan.longest);
  EXPECT_EQ(21, scan.longest + 1);
  EXPECT_EQ(std::string(10, 'a'), scan.title);
  EXPECT_EQ((Lines{std::string(20, 'b'), std::string(15, 'c'), std::string(40, 'd')}), scan.lines);
}

TEST_F(RulerFile, StartRowLimitsCountedAndShownLines) {
  std::string bytes;
  for (int i = 1; i <= 10; ++i) bytes += Line(i, 'x');
  const RulerScan scan = ScanRuler(Write(bytes), 3, 2);
  EXPECT_EQ(2, scan.countedLines);
  EXPECT_EQ(4, scan.longest);
  EXPECT_EQ((Lines{std::string(4, 'x'), std::string(5, 'x')}), scan.lines);
  EXPECT_EQ("x", scan.title);
}

TEST_F(RulerFile, ShortFileStopsAtItsEnd) {
  const RulerScan scan = ScanRuler(Write("title\r\nrow"), 1, 25);
  EXPECT_EQ(2, scan.countedLines);
  EXPECT_EQ(5, scan.longest);
  EXPECT_EQ("title", scan.title);
  EXPECT_EQ(Lines{"row"}, scan.lines);
}

TEST_F(RulerFile, LineLongerThanTheBoundIsCutAndSaidSo) {
  const RulerScan scan = ScanRuler(Write("title\r\n" + std::string(kMaxShownLineBytes + 1, 'x')), 1, 25);
  EXPECT_EQ(static_cast<long long>(kMaxShownLineBytes), scan.longest);
  ASSERT_EQ(1u, scan.lines.size());
  EXPECT_EQ(kMaxShownLineBytes, scan.lines[0].size());
  EXPECT_EQ(std::vector<std::string>{LineCutMessage(2)}, CutMessages(scan));
}

TEST_F(RulerFile, EmptyFile) {
  const RulerScan scan = ScanRuler(Write(""), 1, 25);
  EXPECT_EQ(0, scan.countedLines);
  EXPECT_EQ(0, scan.longest);
  EXPECT_TRUE(scan.lines.empty());
}

TEST_F(RulerFile, SecondLineLengthIsCapped) {
  EXPECT_EQ(0, SecondLineLength(Write("only one line")));
  EXPECT_EQ(0, SecondLineLength(Write("one\r\n")));
  EXPECT_EQ(7, SecondLineLength(Write("1\r\n1234567\r\n12")));
  EXPECT_EQ(kMaxBreakPosition, SecondLineLength(Write("1\r\n" + Line(5000, 'y'))));
}

TEST_F(RulerFile, MissingFileRaisesFileError) {
  EXPECT_THROW(ScanRuler(dir_.File("absent.txt"), 1, 25), FileError);
  EXPECT_THROW(SecondLineLength(dir_.File("absent.txt")), FileError);
}

TEST(BreakModel, TogglesMoveTheCountAndTheList) {
  BreakModel model;
  EXPECT_TRUE(model.Toggle(1));
  EXPECT_TRUE(model.Toggle(12));
  EXPECT_EQ(3, model.fieldCount);
  EXPECT_EQ((std::vector<int>{1, 12}), model.ListedBreaks(21));
  EXPECT_TRUE(model.Toggle(12));
  EXPECT_EQ(2, model.fieldCount);
  EXPECT_FALSE(model.IsSet(12));
}

TEST(BreakModel, PositionsOutsideTheRulerAreRefused) {
  BreakModel model;
  for (const int position : {0, -1, kMaxBreakPosition + 1, 5000}) {
    EXPECT_FALSE(model.Toggle(position));
    model.Set(position, true);
    EXPECT_FALSE(model.IsSet(position));
  }
  EXPECT_EQ(1, model.fieldCount);
  EXPECT_TRUE(model.Toggle(kMaxBreakPosition));
  EXPECT_EQ(std::vector<int>{kMaxBreakPosition}, model.ListedBreaks(100000));
}

TEST(BreakModel, BreaksBeyondTheLineLengthAreNotListed) {
  BreakModel model;
  model.Toggle(5);
  model.Toggle(30);
  EXPECT_EQ(3, model.fieldCount);
  EXPECT_EQ(std::vector<int>{5}, model.ListedBreaks(21));
}

TEST(BreakModel, ClearUpToKeepsLaterFlags) {
  BreakModel model;
  model.Set(3, true);
  model.Set(10, true);
  model.ClearUpTo(9);
  EXPECT_EQ(std::vector<int>{10}, model.ListedBreaks(kMaxBreakPosition));
  model.ClearAll();
  EXPECT_TRUE(model.ListedBreaks(kMaxBreakPosition).empty());
}

TEST(BreakWidths, BreaksAndWidthsConvertBothWays) {
  EXPECT_EQ((Widths{4, 6, 10}), WidthsFromBreaks({5, 11}, 21));
  EXPECT_EQ((Widths{0, 20}), WidthsFromBreaks({1}, 21));
  EXPECT_EQ(Widths{20}, WidthsFromBreaks({}, 21));
  EXPECT_EQ((Widths{5, 11}), BreaksFromWidths({4, 6, 10}));
  EXPECT_TRUE(BreaksFromWidths({20}).empty());

  const Widths widths{3, 1, 8, 2, 6};
  const Widths breaks = BreaksFromWidths(widths);
  std::vector<int> positions(breaks.begin(), breaks.end());
  EXPECT_EQ(widths, WidthsFromBreaks(positions, 21));
}

struct DeleteCase {
  const char* name;
  std::size_t deleted;
  int removedBreak;
  Widths widthsAfter;
};

void PrintTo(const DeleteCase& deleteCase, std::ostream* out) { *out << deleteCase.name; }

class FixedFieldDelete : public ::testing::TestWithParam<DeleteCase> {};

// Fields 4, 6, 10 wide (breaks 5 and 11, line length 21); the deleted width goes to the
// field in front, or to the following field when the first is deleted.
TEST_P(FixedFieldDelete, KeepsWidthsBreaksAndCountInStep) {
  const DeleteCase& c = GetParam();
  BreakModel model;
  model.Toggle(5);
  model.Toggle(11);
  EXPECT_EQ(c.removedBreak, RemoveFieldBreak(model, model.ListedBreaks(21), c.deleted));
  --model.fieldCount;
  const std::vector<int> listed = model.ListedBreaks(21);
  EXPECT_EQ(c.widthsAfter, WidthsFromBreaks(listed, 21));
  EXPECT_EQ(model.fieldCount, static_cast<int>(listed.size()) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FixedFieldDelete,
    ::testing::Values(DeleteCase{"First", 0, 5, {10, 10}}, DeleteCase{"Middle", 1, 5, {10, 10}},
                      DeleteCase{"Last", 2, 11, {4, 16}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FixedFieldDelete, OnlyFieldHasNoBreakToRemove) {
  BreakModel model;
  EXPECT_EQ(0, RemoveFieldBreak(model, model.ListedBreaks(21), 0));
  EXPECT_EQ(0, RemoveFieldBreak(model, {5}, 3));
}

}  // namespace
}  // namespace quorlin
