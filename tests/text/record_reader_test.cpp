// Records that span lines where a qualified value holds line breaks, and where they do not.
#include "text/record_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "support/test_files.h"
#include "text/record_splitter.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

struct RecordCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> records;
  std::vector<long long> firstLines;
  long long unclosedLine = 0;
  std::string qualifier = "\"";
  std::string separator = ",";
};

void PrintTo(const RecordCase& c, std::ostream* out) { *out << c.name; }

class RecordRule : public ::testing::TestWithParam<RecordCase> {};

// Small buffers put every line end and every qualifier on a buffer boundary somewhere.
TEST_P(RecordRule, ReadsTheExpectedRecordsWithAnyBufferSize) {
  const RecordCase& c = GetParam();
  TempDir dir;
  WriteBytes(dir.File("data.csv"), c.bytes);
  for (const std::size_t bufferSize : {1u, 2u, 3u, 7u, 64u, 1u << 20}) {
    TextRecordReader reader(dir.File("data.csv"), c.separator, c.qualifier, bufferSize);
    std::vector<std::string> records;
    std::vector<long long> firstLines;
    std::string record;
    while (reader.ReadRecord(record)) {
      records.push_back(record);
      firstLines.push_back(reader.FirstLine());
    }
    EXPECT_EQ(c.records, records) << "buffer of " << bufferSize;
    EXPECT_EQ(c.firstLines, firstLines) << "buffer of " << bufferSize;
    EXPECT_EQ(c.unclosedLine, reader.UnclosedLine()) << "buffer of " << bufferSize;
    reader.Rewind();
    EXPECT_EQ(static_cast<std::int64_t>(c.records.size()), reader.SkipRemainingRecords());
    // Counting alone numbers the lines as reading does.
    TextRecordReader counter(dir.File("data.csv"), c.separator, c.qualifier, bufferSize);
    EXPECT_EQ(static_cast<std::int64_t>(c.records.size()), counter.SkipRemainingRecords());
    EXPECT_EQ(c.unclosedLine, counter.UnclosedLine()) << "buffer of " << bufferSize;
  }
}

const RecordCase kRecordCases[] = {
    {"CrLfInsideAValue", "\"Once upon \r\na time\",5,6\r\nnext,1,2\r\n",
     {"\"Once upon \r\na time\",5,6", "next,1,2"}, {1, 3}},
    {"LineFeedFileKeepsItsLineEnds", "\"a\nb\",1\nc,2\n", {"\"a\nb\",1", "c,2"}, {1, 3}},
    {"LoneCarriageReturnInsideAValue", "\"a\rb\",1\r\nc\r\n", {"\"a\rb\",1", "c"}, {1, 3}},
    {"SeveralLineBreaksInOneValue", "1,\"x\r\n\r\ny\r\nz\"\r\n2,w\r\n", {"1,\"x\r\n\r\ny\r\nz\"", "2,w"}, {1, 5}},
    {"DoubledQualifierDoesNotClose", "\"a\"\"\r\nb\",1\r\n", {"\"a\"\"\r\nb\",1"}, {1}},
    {"ClosedValuesStayOnTheirLine", "\"a\",\"b\"\r\n\"c\"\r\n", {"\"a\",\"b\"", "\"c\""}, {1, 2}},
    {"BlankHidesTheQualifier", "a, \"b\r\nc\",1\r\n", {"a, \"b", "c\",1"}, {1, 2}},
    {"QualifierInsidePlainFieldIsData", "O\"Brien,1\r\nx,2\r\n", {"O\"Brien,1", "x,2"}, {1, 2}},
    {"OpenAtTheEndOfTheFileIsReadByLines", "a,\"b\r\nc,d\r\ne\r\n", {"a,\"b", "c,d", "e"}, {1, 2, 3}, 1},
    {"OpenOnTheLastLine", "a\r\n\"b", {"a", "\"b"}, {1, 2}, 2},
    {"QualifierNoneReadsLines", "\"a\r\nb\"\r\n", {"\"a", "b\""}, {1, 2}, 0, "{none}"},
    {"TabSeparatedQualifiedValue", "'a\r\nb'\t2\r\n", {"'a\r\nb'\t2"}, {1}, 0, "'", "\t"},
    {"NoSeparatorStillJoins", "\"a\r\nb\"\r\n", {"\"a\r\nb\""}, {1}, 0, "\"", ""},
    {"EmptyFileHasNoRecord", "", {}, {}},
    {"CtrlZEndsTheValue", "\"a\r\nb\x1a\",1\r\n", {"\"a", "b"}, {1, 2}, 1},
    {"PlainLinesAroundQuotedOnes", "a,1\nb,2\n\"c\nd\",3\ne,\"4\"\nf,5\ng,\"6\nh",
     {"a,1", "b,2", "\"c\nd\",3", "e,\"4\"", "f,5", "g,\"6", "h"}, {1, 2, 3, 5, 6, 7, 8}, 7},
    {"PlainLastLineWithoutLineEnd", "a\nb\n\"c\"\nd", {"a", "b", "\"c\"", "d"}, {1, 2, 3, 4}},
    {"PlainLinesOfCarriageReturnsAroundAQuotedOne", "a\rb\r\nc\r\"d\re\",1\rf\r\ng\r",
     {"a", "b", "c", "\"d\re\",1", "f", "g"}, {1, 2, 3, 4, 6, 7}},
};

INSTANTIATE_TEST_SUITE_P(Files, RecordRule, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A qualifier and separator beyond ASCII are characters of the file's set: found as UTF-8 in
// decoded lines, as their Latin-1 bytes in the lines of a file read as bytes.
TEST(RecordReaderCharacters, NonAsciiQualifierJoinsLinesInTheFilesOwnForm) {
  TempDir dir;
  WriteBytes(dir.File("data.txt"), "\xA6" "a\r\nb\xA6\xA7" "1\r\nx\xA7" "2\r\n");
  const std::string qualifier = "\xC2\xA6";
  const std::string separator = "\xC2\xA7";
  const struct {
    CharacterSet set;
    std::vector<std::string> records;
    std::vector<std::string> firstFields;
  } readings[] = {
      {CharacterSet::Ansi(), {"\xC2\xA6" "a\r\nb\xC2\xA6\xC2\xA7" "1", "x\xC2\xA7" "2"}, {"a\r\nb", "x"}},
      {CharacterSet(), {"\xA6" "a\r\nb\xA6\xA7" "1", "x\xA7" "2"}, {"a\r\nb", "x"}},
  };
  for (const auto& reading : readings) {
    for (const std::size_t bufferSize : {1u, 3u, 1u << 20}) {
      TextRecordReader reader(dir.File("data.txt"), reading.set, RecordForm::Delimited, separator, qualifier,
                              bufferSize);
      std::vector<std::string> records;
      std::vector<std::string> firstFields;
      std::string record;
      std::vector<std::string> fields;
      while (reader.ReadRecord(record)) {
        records.push_back(record);
        SplitRecord(record, reader.Separator(), reader.Qualifier(), fields);
        firstFields.push_back(fields.front());
      }
      EXPECT_EQ(reading.records, records) << reading.set.Name() << " buffer of " << bufferSize;
      EXPECT_EQ(reading.firstFields, firstFields) << reading.set.Name() << " buffer of " << bufferSize;
    }
  }
}

// An open value that grows past the bound was no line break: every line is a record again.
// Whether `line` leaves a value open, found by walking it field by field as the splitter cuts
// it: a value opens with a qualifier at the start of a field and closes at a single one.
bool LeavesAValueOpen(std::string_view line) {
  std::size_t at = line.find_first_not_of(" \t");
  while (at < line.size()) {
    if (line[at] != '"') {
      at = line.find(',', at);
      if (at == std::string_view::npos) return false;
      ++at;
      continue;
    }
    std::size_t closing = at + 1;
    while (closing < line.size() && (line[closing] != '"' || (closing + 1 < line.size() && line[closing + 1] == '"'))) {
      closing += line[closing] == '"' ? 2 : 1;
    }
    if (closing >= line.size()) return true;
    at = line.find_first_not_of(" \t", closing + 1);
    if (at < line.size() && line[at] == ',') ++at;
  }
  return false;
}

// The reader finds qualifiers without walking every field: it must join the next line exactly
// where walking the fields would, however qualifiers, separators and blanks fall.
TEST(RecordReaderQualifiers, JoinTheNextLineExactlyWhereAWalkOfTheFieldsWould) {
  TempDir dir;
  std::mt19937 random(1210);
  constexpr char kAlphabet[] = {'a', 'b', ',', ',', '"', ' '};
  for (int k = 0; k < 400; ++k) {
    std::string line;
    for (std::size_t n = random() % 32; n > 0; --n) line += kAlphabet[random() % sizeof kAlphabet];
    WriteBytes(dir.File("data.csv"), line + "\n\"\n");
    TextRecordReader reader(dir.File("data.csv"), ",", "\"");
    std::string record;
    ASSERT_TRUE(reader.ReadRecord(record));
    EXPECT_EQ(LeavesAValueOpen(line) ? line + "\n\"" : line, record) << line;
  }
}

TEST(RecordReaderBound, ReadsAValueOpenForMoreThanAMegabyteAsLines) {
  TempDir dir;
  std::string bytes = "\"start\r\n";
  const std::string line = "0123456789abcdef";
  const int lines = 70000;
  for (int i = 0; i < lines; ++i) bytes += line + "\r\n";
  bytes += "end\"\r\n";
  WriteBytes(dir.File("big.csv"), bytes);
  TextRecordReader reader(dir.File("big.csv"), ",", "\"");
  std::string record;
  ASSERT_TRUE(reader.ReadRecord(record));
  EXPECT_EQ("\"start", record);
  ASSERT_TRUE(reader.ReadRecord(record));
  EXPECT_EQ(line, record);
  EXPECT_EQ(2, reader.FirstLine());
  EXPECT_EQ(1, reader.UnclosedLine());
  EXPECT_EQ(lines, reader.SkipRemainingRecords());
}

TEST(RecordReaderBound, JoinsAValueJustBelowTheBound) {
  TempDir dir;
  const std::string value(TextRecordReader::kMaxOpenValueBytes - 100, 'v');
  WriteBytes(dir.File("long.csv"), "1,\"a\r\n" + value + "\"\r\n2\r\n");
  TextRecordReader reader(dir.File("long.csv"), ",", "\"");
  std::string record;
  ASSERT_TRUE(reader.ReadRecord(record));
  EXPECT_EQ("1,\"a\r\n" + value + "\"", record);
  ASSERT_TRUE(reader.ReadRecord(record));
  EXPECT_EQ("2", record);
  EXPECT_EQ(0, reader.UnclosedLine());
}

}  // namespace
}  // namespace quorlin
