// The line rule: line ends, the end-of-file mark, buffer boundaries and opening failures.
#include "text/text_line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/file_error.h"
#include "support/encoded_files.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

std::vector<std::string> ReadAll(const std::string& path, std::size_t bufferSize) {
  TextLineReader reader(path, bufferSize);
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadTextLine(line)) lines.push_back(line);
  EXPECT_TRUE(line.empty());
  EXPECT_TRUE(reader.AtEnd());
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

void PrintTo(const LineCase& lineCase, std::ostream* out) { *out << lineCase.name; }

// Every case is read with buffers of many sizes, so each line end also falls on a boundary.
class LineRule : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRule, ReadsTheExpectedLinesWithAnyBufferSize) {
  const LineCase& c = GetParam();
  TempDir dir;
  WriteBytes(dir.File("data.txt"), c.bytes);
  for (const std::size_t size : {1, 2, 3, 4, 5, 7, 64, 1 << 20}) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    EXPECT_EQ(c.lines, ReadAll(dir.File("data.txt"), size));
  }
}

// Views, copies and skips, mixed in one pass, take the same lines, and counting the lines
// left finds as many: a view or a count relies on the buffer only for lines that lie in it whole.
TEST_P(LineRule, ViewsCopiesSkipsAndCountsTakeTheSameLinesWithAnyBufferSize) {
  const LineCase& c = GetParam();
  TempDir dir;
  WriteBytes(dir.File("data.txt"), c.bytes);
  for (const std::size_t size : {1, 2, 3, 4, 5, 7, 64, 1 << 20}) {
    SCOPED_TRACE("buffer size " + std::to_string(size));
    for (std::size_t skipped = 0; skipped <= c.lines.size(); ++skipped) {
      TextLineReader reader(dir.File("data.txt"), size);
      for (std::size_t i = 0; i < skipped; ++i) EXPECT_TRUE(reader.SkipTextLine());
      std::vector<std::string> lines(c.lines.begin(), c.lines.begin() + static_cast<std::ptrdiff_t>(skipped));
      std::string_view view;
      std::string copy;
      while ((lines.size() % 2 == 0) ? reader.ReadTextLine(view) : reader.ReadTextLine(copy)) {
        lines.push_back(lines.size() % 2 == 0 ? std::string(view) : copy);
      }
      EXPECT_EQ(c.lines, lines);
      EXPECT_FALSE(reader.SkipTextLine());

      TextLineReader counter(dir.File("data.txt"), size);
      for (std::size_t i = 0; i < skipped; ++i) counter.SkipTextLine();
      EXPECT_EQ(static_cast<std::int64_t>(c.lines.size() - skipped), counter.SkipRemainingLines());
      EXPECT_TRUE(counter.AtEnd());
    }
  }
}

const LineCase kLineCases[] = {
    {"CarriageReturn", "a\rb\r", {"a", "b"}},
    {"CrLf", "a\r\nb\r\n", {"a", "b"}},
    {"LoneLineFeedBesideCarriageReturnsIsData", "a\nb\r\nc", {"a\nb", "c"}},
    {"LineFeedFile", "a\nb\nc\n", {"a", "b", "c"}},
    {"LineFeedFileEmptyLinesAndNoFinalEnd", "\n\nx\ny", {"", "", "x", "y"}},
    {"LineFeedFileCtrlZIsData", "a\nb\x1a\nshown\n", {"a", "b\x1a", "shown"}},
    {"CarriageReturnAfterCtrlZDoesNotCount", "a\nb\x1a\r\n", {"a", "b\x1a"}},
    {"CarriageReturnFileCtrlZEnds", "a\r\nb\x1a\r\nhidden\r\n", {"a", "b"}},
    {"Utf8MarkIsNoText", "\xEF\xBB\xBFid,name\r\n1\r\n", {"id,name", "1"}},
    {"Utf8MarkOnLineFeedFile", "\xEF\xBB\xBF" "a\nb\n", {"a", "b"}},
    {"Utf8MarkLaterIsData", "a\r\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
    {"OnlyAUtf8Mark", "\xEF\xBB\xBF", {}},
    {"HalfAUtf8MarkIsData", "\xEF\xBBx", {"\xEF\xBBx"}},
    {"LfCrIsDataThenLineEnd", "a\n\rb", {"a\n", "b"}},
    {"CrCrLfGivesEmptyLine", "a\r\r\nb", {"a", "", "b"}},
    {"EmptyLinesBetweenLineEnds", "\r\n\r\nx\r\n\r\n", {"", "", "x", ""}},
    {"LastLineWithoutLineEnd", "a\r\nlast", {"a", "last"}},
    {"EmptyFile", "", {}},
    {"OnlyALineEnd", "\r\n", {""}},
    {"CtrlZEndsTheFile", "a\r\nb\x1a\r\nhidden\r\n", {"a", "b"}},
    {"CtrlZAfterLastLineEnd", "a\r\n\x1a", {"a"}},
    {"CtrlZFirst", "\x1a" "a\r\n", {}},
    {"NulAndHighBytesAreData", std::string("a\0b\xff\r\n\x80", 7), {std::string("a\0b\xff", 4), "\x80"}},
};

INSTANTIATE_TEST_SUITE_P(Files, LineRule, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A line limit keeps the start of every line and says which lines it cut.
TEST_P(LineRule, ReadsTheSameWithTheLimitAtEachLength) {
  const LineCase& c = GetParam();
  TempDir dir;
  WriteBytes(dir.File("data.txt"), c.bytes);
  for (const std::size_t limit : {0, 1, 2, 3, 5}) {
    TextLineReader reader(dir.File("data.txt"), 2);
    reader.LimitLineLength(limit);
    std::string line;
    for (const std::string& whole : c.lines) {
      ASSERT_TRUE(reader.ReadTextLine(line));
      EXPECT_EQ(whole.substr(0, limit), line);
      EXPECT_EQ(whole.size() > limit, reader.LastLineCut()) << "limit " << limit;
    }
    EXPECT_FALSE(reader.ReadTextLine(line));
  }
}

const std::string kInside(65535, 'a');  // a line end after these is the window's last byte

// The line ends are chosen from the first 65,536 bytes alone: a line feed or carriage return
// just inside them counts, one just past them does not. Past them, in a line-feed file, a
// carriage return before a line feed belongs to the line end and a lone one is data.
const LineCase kBoundaryCases[] = {
    {"LineFeedAtTheLastByteOfTheWindow", kInside + "\nx\ry\r\nz", {kInside, "x\ry", "z"}},
    {"LineFeedJustPastTheWindow", kInside + "a\nb\rc", {kInside + "a\nb", "c"}},
    {"CarriageReturnAtTheLastByteOfTheWindow", "a\n" + kInside.substr(2) + "\rc\n",
     {"a\n" + kInside.substr(2), "c\n"}},
    {"CarriageReturnJustPastTheWindow", "a\n" + kInside.substr(1) + "\rc\r\n",
     {"a", kInside.substr(1) + "\rc"}},
};

INSTANTIATE_TEST_SUITE_P(Window, LineRule, ::testing::ValuesIn(kBoundaryCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextLineReader, CutLineOfALineFeedFileLosesTheCarriageReturnOfItsEnd) {
  TempDir dir;
  WriteBytes(dir.File("data.txt"), kInside + "\nabc\r\nx");
  for (const auto& [limit, kept, cut] : {std::tuple{2, "ab", true}, {3, "abc", false}, {4, "abc", false}}) {
    TextLineReader reader(dir.File("data.txt"), 3);
    std::string line;
    reader.ReadTextLine(line);
    reader.LimitLineLength(limit);
    ASSERT_TRUE(reader.ReadTextLine(line));
    EXPECT_EQ(kept, line);
    EXPECT_EQ(cut, reader.LastLineCut());
  }
}

TEST(TextLineReader, CrLfSplitAcrossTwoFillsIsOneLineEnd) {
  TempDir dir;
  WriteBytes(dir.File("data.txt"), "abc\r\ndef");
  EXPECT_EQ((std::vector<std::string>{"abc", "def"}), ReadAll(dir.File("data.txt"), 4));
}

TEST(TextLineReader, LineFarLongerThanTheBuffer) {
  TempDir dir;
  const std::string longLine(3'000'000, 'x');
  WriteBytes(dir.File("data.txt"), "short\r\n" + longLine + "\r\nend");
  const auto lines = ReadAll(dir.File("data.txt"), 4096);
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(longLine, lines[1]);
  EXPECT_EQ("end", lines[2]);
}

TEST(TextLineReader, ReadingAtTheEndGivesAnEmptyLineEveryTime) {
  TempDir dir;
  WriteBytes(dir.File("data.txt"), "only");
  TextLineReader reader(dir.File("data.txt"));
  std::string line;
  EXPECT_FALSE(reader.AtEnd());
  EXPECT_TRUE(reader.ReadTextLine(line));
  EXPECT_TRUE(reader.AtEnd());
  line = "stale";
  EXPECT_FALSE(reader.ReadTextLine(line));
  EXPECT_EQ("", line);
  EXPECT_FALSE(reader.ReadTextLine(line));
}

TEST(TextLineReader, RewindStartsAgainAfterTheEndAndAfterCtrlZ) {
  TempDir dir;
  WriteBytes(dir.File("data.txt"), "one\r\ntwo\x1a");
  TextLineReader reader(dir.File("data.txt"), 3);
  std::string line;
  while (reader.ReadTextLine(line)) {
  }
  reader.Rewind();
  ASSERT_TRUE(reader.ReadTextLine(line));
  EXPECT_EQ("one", line);
  reader.Rewind();
  ASSERT_TRUE(reader.ReadTextLine(line));
  EXPECT_EQ("one", line);
  ASSERT_TRUE(reader.ReadTextLine(line));
  EXPECT_EQ("two", line);
  EXPECT_TRUE(reader.AtEnd());
}

// Where a Ctrl-Z ends decoded text is told in the file's bytes, whatever pieces the file
// was read in (a mark in the first piece, the last one, or cut between two).
TEST(TextLineReader, TellsWhereCtrlZEndsDecodedTextInTheFilesBytes) {
  TempDir dir;
  const std::string text = "K\xC3\xB6ln\r\n\xE2\x82\xAC 1\r\nx\x1A" "after\r\n";
  const struct {
    const char* codec;
    const char* set;
    std::uint64_t mark;
  } files[] = {{"cp1252", "Windows-1252", 12}, {"utf-8", "UTF-8", 15}, {"utf-16", "UTF-16LE", 2 + 24},
               {"utf_16_be", "UTF-16BE", 24}};
  for (const auto& file : files) {
    const std::string path = dir.File(std::string(file.codec) + ".txt");
    ASSERT_EQ("", testing::WriteEncodedFile(path, text, file.codec));
    for (const std::size_t buffer : {std::size_t{3}, std::size_t{5}, TextLineReader::kDefaultBufferSize}) {
      TextLineReader reader(path, *CharacterSet::Named(file.set), RecordForm::Delimited, buffer);
      std::string line;
      std::vector<std::string> lines;
      while (reader.ReadTextLine(line)) lines.push_back(line);
      EXPECT_EQ((std::vector<std::string>{"K\xC3\xB6ln", "\xE2\x82\xAC 1", "x"}), lines) << file.codec << " " << buffer;
      EXPECT_EQ(file.mark, reader.EndMarkBeforeLastByte()) << file.codec << " " << buffer;
    }
  }
}

TEST(TextLineReader, FileThatShrinksWhileReadIsSimplyEnded) {
  TempDir dir;
  const std::string path = dir.File("data.txt");
  WriteBytes(path, "first\r\n" + std::string(100, 'x') + "\r\n");
  TextLineReader reader(path, 8);
  std::string line;
  ASSERT_TRUE(reader.ReadTextLine(line));
  ASSERT_EQ(0, truncate(path.c_str(), 10));
  while (reader.ReadTextLine(line)) {
  }
  EXPECT_TRUE(reader.AtEnd());
}

TEST(TextLineReader, NeverChangesTheFile) {
  TempDir dir;
  const std::string bytes = "a\nb\r\nc\x1a" "d";
  WriteBytes(dir.File("data.txt"), bytes);
  ReadAll(dir.File("data.txt"), 2);
  EXPECT_SAME_BYTES(bytes, testing::ReadBytes(dir.File("data.txt")));
}

std::string OpenFailure(const std::string& path) {
  try {
    TextLineReader reader(path);
  } catch (const FileError& error) {
    return error.what();
  }
  return "opened";
}

TEST(TextLineReaderOpening, MissingFile) {
  TempDir dir;
  EXPECT_EQ("File not found: " + dir.File("absent.txt"), OpenFailure(dir.File("absent.txt")));
  EXPECT_EQ("File not found: " + dir.File("absent/x.txt"), OpenFailure(dir.File("absent/x.txt")));
}

TEST(TextLineReaderOpening, Folder) {
  TempDir dir;
  EXPECT_EQ(dir.Path() + " is a folder, not a file", OpenFailure(dir.Path()));
}

TEST(TextLineReaderOpening, Utf32TextIsRefusedWithHowToSaveItAsUtf8) {
  TempDir dir;
  const std::string path = dir.File("wide.txt");
  for (const std::string& bytes : {std::string("\xFF\xFE\0\0i\0\0\0", 8), std::string("\0\0\xFE\xFF", 4)}) {
    WriteBytes(path, bytes);
    EXPECT_EQ(path + " is UTF-32 text, which cannot be read: save it as UTF-8 (a spreadsheet's "
                  "\"CSV UTF-8\", or iconv -f UTF-32 -t UTF-8) and open that copy",
              OpenFailure(path));
  }
}

TEST(TextLineReaderOpening, FixedLengthUtf16IsRefusedWhateverSaidSo) {
  TempDir dir;
  const std::string path = dir.File("wide.txt");
  WriteBytes(path, std::string("\xFF\xFEi\0d\0", 6));
  const std::string refusal = path + " is UTF-16LE text, whose records cannot be cut by position: save "
                              "it as UTF-8 or choose a delimited format";
  try {
    TextLineReader reader(path, CharacterSet(), RecordForm::FixedLength);
    ADD_FAILURE() << "opened";
  } catch (const FileError& error) {
    EXPECT_EQ(refusal, error.what());
  }
  WriteBytes(path, std::string("i\0d\0", 4));
  EXPECT_THROW(TextLineReader(path, CharacterSet::Utf16(false), RecordForm::FixedLength), FileError);
}

TEST(TextLineReaderOpening, NamedPipeAndDeviceAreRefusedAtOnce) {
  TempDir dir;
  ASSERT_EQ(0, mkfifo(dir.File("pipe").c_str(), 0600));
  EXPECT_EQ(dir.File("pipe") + " is a named pipe, not a file", OpenFailure(dir.File("pipe")));
  EXPECT_EQ("/dev/zero is a device, not a file", OpenFailure("/dev/zero"));
}

TEST(TextLineReaderOpening, NoPermission) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempDir dir;
  WriteBytes(dir.File("locked.txt"), "x");
  ASSERT_EQ(0, chmod(dir.File("locked.txt").c_str(), 0));
  EXPECT_EQ("Access denied: " + dir.File("locked.txt"), OpenFailure(dir.File("locked.txt")));
}

}  // namespace
}  // namespace quorlin

namespace quorlin {
namespace {

using testing::TempDir;

struct DecodedLines {
  std::vector<std::string> lines;
  std::int64_t replaced = 0;
  std::int64_t counted = 0;  // SkipRemainingLines after a rewind
};

DecodedLines ReadDecoded(const std::string& path, const CharacterSet& set, std::size_t bufferSize) {
  TextLineReader reader(path, set, RecordForm::Delimited, bufferSize);
  DecodedLines read;
  std::string line;
  while (reader.ReadTextLine(line)) read.lines.push_back(line);
  read.replaced = reader.Replaced();
  reader.Rewind();
  read.counted = reader.SkipRemainingLines();
  return read;
}

// Python writes each family; the decoded lines are the same with buffers of every size, and
// counting them past gives their number.
TEST(TextLineReaderDecoding, LinesOfEveryFamilyArriveAsUtf8) {
  const std::string text = "Jos\xC3\xA9,\xE2\x82\xAC 5\r\n\xE2\x80\x9CK\xC3\xB6ln\xE2\x80\x9D,2\r\nlast";
  const std::vector<std::string> expected = {"Jos\xC3\xA9,\xE2\x82\xAC 5", "\xE2\x80\x9CK\xC3\xB6ln\xE2\x80\x9D,2", "last"};
  const struct {
    const char* codec;
    CharacterSet set;
  } families[] = {{"cp1252", CharacterSet::Ansi()},
                  {"utf-8", CharacterSet::Utf8()},
                  {"utf-16", CharacterSet()},  // its mark decides, whatever the layout says
                  {"utf_16_be", CharacterSet::Utf16(true)}};
  TempDir dir;
  for (const auto& family : families) {
    ASSERT_EQ("", testing::WriteEncodedFile(dir.File("f.csv"), text, family.codec));
    for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{5}, TextLineReader::kDefaultBufferSize}) {
      const DecodedLines read = ReadDecoded(dir.File("f.csv"), family.set, size);
      EXPECT_EQ(expected, read.lines) << family.codec << " buffer " << size;
      EXPECT_EQ(0, read.replaced) << family.codec;
      EXPECT_EQ(3, read.counted) << family.codec << " buffer " << size;
    }
  }
}

TEST(TextLineReaderDecoding, AUtf8FileWithOneWindowsLineCountsItsReplacements) {
  TempDir dir;
  testing::WriteBytes(dir.File("mixed.csv"), "K\xC3\xB6ln\nK\xF6ln \x93x\x94\nend\n");
  const DecodedLines read = ReadDecoded(dir.File("mixed.csv"), CharacterSet::Utf8(), 4);
  EXPECT_EQ((std::vector<std::string>{"K\xC3\xB6ln", "K\xEF\xBF\xBDln \xEF\xBF\xBDx\xEF\xBF\xBD", "end"}), read.lines);
  EXPECT_EQ(3, read.replaced);
}

TEST(TextLineReaderDecoding, TheLegacySetAndFixedLengthUtf8KeepTheBytes) {
  TempDir dir;
  testing::WriteBytes(dir.File("latin.txt"), "K\xF6ln\r\n");
  for (const auto& [set, form] : {std::pair{CharacterSet(), RecordForm::Delimited},
                                  std::pair{CharacterSet::Utf8(), RecordForm::FixedLength}}) {
    TextLineReader reader(dir.File("latin.txt"), set, form);
    std::string line;
    ASSERT_TRUE(reader.ReadTextLine(line));
    EXPECT_EQ("K\xF6ln", line);
    EXPECT_FALSE(reader.Decoded());
  }
  TextLineReader fixed(dir.File("latin.txt"), CharacterSet::Ansi(), RecordForm::FixedLength);
  std::string line;
  ASSERT_TRUE(fixed.ReadTextLine(line));
  EXPECT_EQ("K\xC3\xB6ln", line);
}

}  // namespace
}  // namespace quorlin
