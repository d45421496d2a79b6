#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "export/export_paths.h"
#include "export/export_writers.h"
#include "export/failing_outputs.h"
#include "export/pipeline/capped_log.h"
#include "export/pipeline/export_driver.h"
#include "export/sql/sql_writer.h"
#include "platform/file_error.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

ExportField Field(std::string name, ExportFieldType type, int length = 0) {
  ExportField field;
  field.name = std::move(name);
  field.typeCode = type;
  field.length = length;
  return field;
}

class DriverTest : public ::testing::Test {
 protected:
  ExportRequest Request(ExportFormat format, const std::string& input) {
    ExportRequest request;
    request.format = format;
    request.inputPath = dir.File(input);
    request.outputPath = dir.File("out.txt");
    request.inputSeparator = ",";
    request.inputQualifier = "\"";
    request.outputSeparator = ",";
    request.outputQualifier = "\"";
    request.fields = {Field("Name", ExportFieldType::Char, 10), Field("Born", ExportFieldType::Date),
                      Field("Size", ExportFieldType::Long)};
    request.includeFieldNames = true;
    request.title = "People";
    return request;
  }

  std::string Input(const std::string& name, const std::string& bytes) {
    WriteBytes(dir.File(name), bytes);
    return name;
  }

  std::set<std::string> Files() const { return dir.Names(); }

  TempDir dir;
};

constexpr const char* kPeople = "Name,Born,Size\r\nAnn,1/2/2000,3\r\nBob,x,4\r\n";

TEST_F(DriverTest, ProgressCountsTheRecordsTheHeaderRuleLeaves) {
  const struct {
    bool hasHeader;
    bool includeHeader;
    ExportFormat format;
    std::vector<std::int64_t> positions;
  } cases[] = {
      {false, false, ExportFormat::CommaDelimited, {0, 1, 2, 3}},
      {true, false, ExportFormat::CommaDelimited, {0, 1, 2}},
      {true, true, ExportFormat::HtmlTable, {0, 1, 2, 3}},
      {true, true, ExportFormat::Xml, {0, 1, 2, 3}},
      {true, true, ExportFormat::SqlSchema, {0, 1, 2}},
  };
  for (const auto& c : cases) {
    ExportRequest request = Request(c.format, Input("people.csv", kPeople));
    request.hasHeaderRow = c.hasHeader;
    request.includeHeaderRow = c.includeHeader;
    std::vector<std::int64_t> positions;
    request.progress = [&](std::int64_t position, std::int64_t maximum) {
      positions.push_back(position);
      EXPECT_EQ(static_cast<std::int64_t>(c.positions.size()) - 1, maximum);
    };
    MemoryOutputFiles files;
    ExportFile(request, files);
    EXPECT_EQ(c.positions, positions) << FormatInfo(c.format).caption;
  }
}

// A large input is counted while its records are written, by writers that need no count
// first; progress then starts once the count is known and ends at it.
TEST_F(DriverTest, ALargeInputCountedAlongsideTheRecordsReportsItsCountAndExportsEveryRecord) {
  std::string csv = "Name,Born,Size\r\n";
  const std::string record = "\"Ann, Bo\",1/2/2000,123456789\r\n";
  constexpr std::int64_t kRecords = (std::int64_t{9} << 20) / 30;
  for (std::int64_t i = 0; i < kRecords; ++i) csv += record;
  for (const ExportFormat format : {ExportFormat::CommaDelimited, ExportFormat::Parquet, ExportFormat::XBase}) {
    ExportRequest request = Request(format, Input("large.csv", csv));
    request.hasHeaderRow = true;
    request.outputPath = dir.File("large.out");
    std::int64_t last = -1;
    request.progress = [&](std::int64_t position, std::int64_t maximum) {
      EXPECT_EQ(kRecords, maximum);
      EXPECT_GT(position, last);
      last = position;
    };
    const ExportResult result = ExportFile(request);
    EXPECT_TRUE(result.Exported()) << FormatInfo(format).caption << ": " << ::testing::PrintToString(result.messages);
    EXPECT_EQ(kRecords, result.recordsWritten);
    EXPECT_EQ(kRecords, last);
  }
}

TEST_F(DriverTest, AnEmptyInputGivesOneRecord) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("empty.csv", ""));
  request.includeFieldNames = false;
  MemoryOutputFiles files;
  EXPECT_TRUE(ExportFile(request, files).Exported());
  EXPECT_EQ("\r\n", files.Bytes(request.outputPath));

  request.fixedInput = true;
  for (ExportField& field : request.fields) field.inputWidth = 3;
  MemoryOutputFiles fixed;
  ExportFile(request, fixed);
  EXPECT_EQ(",,\r\n", fixed.Bytes(request.outputPath));
}

// A value with line breaks is one record in the count, the data pass and the output.
TEST_F(DriverTest, ARecordWhoseValueHoldsLineBreaksIsOneRecord) {
  ExportRequest request = Request(ExportFormat::CommaDelimited,
                                  Input("story.csv", "\"Once upon \r\na time\",5,6\r\nEnd,7,8\r\n"));
  request.includeFieldNames = false;
  std::int64_t last = 0;
  request.progress = [&](std::int64_t position, std::int64_t maximum) {
    last = position;
    EXPECT_EQ(2, maximum);
  };
  MemoryOutputFiles files;
  const ExportResult result = ExportFile(request, files);
  EXPECT_TRUE(result.Exported());
  EXPECT_EQ(0, result.unclosedLine);
  EXPECT_EQ(2, last);
  EXPECT_EQ("\"Once upon \r\na time\",5,6\r\nEnd,7,8\r\n", files.Bytes(request.outputPath));
}

TEST_F(DriverTest, AnUnclosedValueIsReadByLinesAndItsLineNamed) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("open.csv", "a,1,2\r\n\"b,3,4\r\nc,5,6\r\n"));
  request.includeFieldNames = false;
  MemoryOutputFiles files;
  const ExportResult result = ExportFile(request, files);
  EXPECT_TRUE(result.Exported());
  EXPECT_EQ(2, result.unclosedLine);
  EXPECT_EQ("a,1,2\r\n,3,4\r\nc,5,6\r\n", files.Bytes(request.outputPath));
}

// What a reader of the common dialect needs is quoted; every other value is written as before.
TEST_F(DriverTest, DelimitedValuesAreQuotedAsAReaderNeedsThem) {
  ExportRequest request = Request(ExportFormat::CommaDelimited,
                                  Input("said.csv", "1,\"He said \"\"hi\"\", ok\",x\r\n"
                                                    "2,\"a\"\"b\",\"two\r\nlines\"\r\n"
                                                    "3,plain value,'single'\r\n"));
  request.includeFieldNames = false;
  MemoryOutputFiles files;
  ExportResult result = ExportFile(request, files);
  EXPECT_TRUE(result.Exported());
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ("1,\"He said \"\"hi\"\", ok\",x\r\n2,\"a\"\"b\",\"two\r\nlines\"\r\n3,plain value,'single'\r\n",
            files.Bytes(request.outputPath));

  request.outputQualifier = "";
  MemoryOutputFiles bare;
  result = ExportFile(request, bare);
  EXPECT_TRUE(result.Exported());
  EXPECT_EQ(2, result.valuesWrittenBare);
  EXPECT_EQ(std::vector<std::string>{"2 values contain the separator and were written bare"}, result.messages);
  EXPECT_EQ("1,He said \"hi\", ok,x\r\n2,a\"b,two\r\nlines\r\n3,plain value,'single'\r\n",
            bare.Bytes(request.outputPath));
}

// Every write that can fail is made to fail once: the result is a failure with the cause,
// never a success, and what was written is the start of the complete output.
TEST_F(DriverTest, AFailedWriteAtAnyByteFailsTheExport) {
  for (const ExportFormat format : {ExportFormat::TabDelimited, ExportFormat::SqlSchema,
                                    ExportFormat::HtmlTable, ExportFormat::Xml}) {
    const ExportRequest request = Request(format, Input("people.csv", kPeople));
    MemoryOutputFiles complete;
    ExportFile(request, complete);
    const std::string whole = complete.Bytes(request.outputPath);
    const std::string log = BesideOutput(request.outputPath, kSqlLogName);
    const std::size_t total = whole.size() + complete.Bytes(log).size();
    for (std::size_t budget = 0; budget < total; ++budget) {
      testing::FailingOutputFiles files(budget);
      const ExportResult result = ExportFile(request, files);
      EXPECT_EQ(ExportOutcome::Failed, result.outcome) << budget;
      ASSERT_FALSE(result.messages.empty());
      EXPECT_TRUE(result.messages.back().ends_with(": No space left on device")) << budget;
      EXPECT_TRUE(whole.starts_with(files.Bytes(request.outputPath))) << budget;
    }
    testing::FailingOutputFiles enough(total);
    ExportFile(request, enough);
    EXPECT_SAME_BYTES(whole, enough.Bytes(request.outputPath));
  }
}

TEST_F(DriverTest, AFolderAsOutputIsReportedAsSuch) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("people.csv", kPeople));
  std::filesystem::create_directory(dir.File("out.txt"));
  try {
    ExportFile(request);
    ADD_FAILURE() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(dir.File("out.txt") + " is a folder, not a file", std::string(error.what()));
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("out.txt")));
}

TEST_F(DriverTest, ADiskFullFailsWithItsCause) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("people.csv", kPeople));
  request.outputPath = "/dev/full";
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(std::vector<std::string>{"Unable to write to /dev/full: No space left on device"},
            result.messages);
}

TEST_F(DriverTest, AnOutputOrLogThatIsTheInputIsRefusedBeforeAnythingIsWritten) {
  Input("people.csv", kPeople);
  ASSERT_EQ(0, ::symlink(dir.File("people.csv").c_str(), dir.File("link.csv").c_str()));
  ASSERT_EQ(0, ::link(dir.File("people.csv").c_str(), dir.File("hard.csv").c_str()));
  const std::set<std::string> before = Files();
  const struct {
    ExportFormat format;
    std::string output;
    std::string refused;
  } cases[] = {
      {ExportFormat::CommaDelimited, dir.File("people.csv"), dir.File("people.csv")},
      {ExportFormat::CommaDelimited, dir.File("sub/../people.csv"), dir.File("sub/../people.csv")},
      {ExportFormat::HtmlTable, dir.File("link.csv"), dir.File("link.csv")},
      {ExportFormat::Xml, dir.File("hard.csv"), dir.File("hard.csv")},
      {ExportFormat::SqlSchema, dir.File("people.csv"), dir.File("people.csv")},
  };
  for (const auto& c : cases) {
    ExportRequest request = Request(c.format, "people.csv");
    request.outputPath = c.output;
    const ExportResult result = ExportFile(request);
    EXPECT_EQ(ExportOutcome::Refused, result.outcome) << c.output;
    EXPECT_EQ(std::vector<std::string>{"Cannot export into " + c.refused +
                                       ": it is the input file " + dir.File("people.csv")},
              result.messages);
  }
  // The SQL log beside the output is the input when the input is called SQLogErr.txt.
  ExportRequest request = Request(ExportFormat::SqlSchema, Input(kSqlLogName, kPeople));
  request.outputPath = dir.File("script.sql");
  EXPECT_EQ(ExportOutcome::Refused, ExportFile(request).outcome);
  EXPECT_SAME_BYTES(kPeople, ReadBytes(dir.File("people.csv")));
  EXPECT_SAME_BYTES(kPeople, ReadBytes(dir.File(kSqlLogName)));
  std::set<std::string> after = before;
  after.insert(kSqlLogName);
  EXPECT_EQ(after, Files());
}

TEST_F(DriverTest, AMissingInputStopsBeforeTheOutputIsCreated) {
  const ExportRequest request = Request(ExportFormat::CommaDelimited, "missing.csv");
  try {
    ExportFile(request);
    ADD_FAILURE() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ("File not found: " + dir.File("missing.csv"), std::string(error.what()));
  }
  EXPECT_TRUE(Files().empty());
}

TEST_F(DriverTest, AFolderWhereNoFileCanBeCreatedIsReportedAndTheInputKept) {
  ExportRequest request = Request(ExportFormat::SqlSchema, Input("people.csv", kPeople));
  // Permissions do not bind the superuser; sysfs refuses new files to everyone.
  TempDir locked;
  const std::string folder = ::geteuid() == 0 ? "/sys/" : locked.Path();
  ASSERT_EQ(0, ::chmod(locked.Path().c_str(), 0555));
  request.outputPath = folder + "out.sql";
  try {
    ExportFile(request);
    ADD_FAILURE() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ("Access denied: " + request.outputPath, std::string(error.what()));
  }
  EXPECT_SAME_BYTES(kPeople, ReadBytes(dir.File("people.csv")));
}

TEST_F(DriverTest, AnInputThatChangesBetweenThePassesFailsTheExport) {
  ExportRequest request = Request(ExportFormat::Xml, Input("people.csv", kPeople));
  request.progress = [&](std::int64_t position, std::int64_t) {
    if (position == 0) WriteBytes(dir.File("people.csv"), "Ann,1/2/2000,3\r\n");
  };
  MemoryOutputFiles files;
  const ExportResult result = ExportFile(request, files);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(std::vector<std::string>{"The input file " + dir.File("people.csv") +
                                     " changed while it was exported"},
            result.messages);
  EXPECT_TRUE(files.Discarded());
}

TEST_F(DriverTest, RelativeNamesPutTheLogBesideTheOutput) {
  Input("people.csv", kPeople);
  ExportRequest request = Request(ExportFormat::SqlSchema, "people.csv");
  request.inputPath = "people.csv";
  request.outputPath = "people.sql";
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const ExportResult result = ExportFile(request);
  std::filesystem::current_path(before);
  EXPECT_EQ(std::vector<std::string>{SqlRejectedMessage(dir.Path())}, result.messages);
  EXPECT_EQ((std::set<std::string>{"people.csv", "people.sql", kSqlLogName}), Files());
}

// Many bad values, rejected on two threads, still give a log of bounded size.
TEST_F(DriverTest, ALogStopsAfterItsLastLineWithTheCountLeftOut) {
  std::string input;
  for (int i = 0; i < 5003; ++i) input += "Ann,never,x\r\n";
  const ExportRequest request = Request(ExportFormat::SqlSchema, Input("people.csv", input));
  MemoryOutputFiles files;
  ExportFile(request, files);
  const std::string log = files.Bytes(BesideOutput(request.outputPath, kSqlLogName));
  EXPECT_EQ(kMaxLogLines + 1, std::count(log.begin(), log.end(), '\n'));
  EXPECT_TRUE(log.starts_with("     1 :  Col : 1 (Born) : never\r\n     1 :  Col : 2 (Size) : x\r\n"));
  EXPECT_TRUE(log.ends_with("  5000 :  Col : 2 (Size) : x\r\n6 more lines were left out of this log\r\n"));
}

TEST_F(DriverTest, ALineLongerThanARecordCanBeFailsNamingFileAndLine) {
  std::string input = "Ann,1/2/2000,3\r\n";
  input += std::string(kMaxRecordBytes + 1, 'x') + "\r\nBob,1/2/2000,4\r\n";
  WriteBytes(dir.File("out.txt"), "old");
  const ExportResult result = ExportFile(Request(ExportFormat::TabDelimited, Input("big.csv", input)));
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(std::vector<std::string>{"Line 2 of " + dir.File("big.csv") + " is longer than 64 MiB: it cannot be a record"},
            result.messages);
  EXPECT_EQ("old", ReadBytes(dir.File("out.txt")));
}

TEST_F(DriverTest, CtrlZIsDataInALineFeedFileAndElsewhereEndsTheInputWithANote) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("lf.csv", "Ann,1/2/2000,3\nB\x1aob,x,4\n"));
  request.includeFieldNames = false;
  ExportResult result = ExportFile(request);
  EXPECT_TRUE(result.Exported());
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ("Ann,1/2/2000,3\r\nB\x1aob,x,4\r\n", ReadBytes(dir.File("out.txt")));

  request.inputPath = dir.File(Input("cr.csv", "Ann,1/2/2000,3\r\nB\x1aob,x,4\r\n"));
  result = ExportFile(request);
  EXPECT_TRUE(result.Exported());
  EXPECT_EQ(std::vector<std::string>{"The input file " + dir.File("cr.csv") +
                                     " ends at the Ctrl-Z at byte 18: what follows it was not exported"},
            result.messages);
  EXPECT_EQ("Ann,1/2/2000,3\r\nB\r\n", ReadBytes(dir.File("out.txt")));

  // A Ctrl-Z as the very last byte ends nothing that matters.
  request.inputPath = dir.File(Input("end.csv", "Ann,1/2/2000,3\r\n\x1a"));
  EXPECT_TRUE(ExportFile(request).messages.empty());
}

TEST_F(DriverTest, FieldsPast1024AreAllExportedOrRefusedBeforeWriting) {
  ExportRequest request = Request(ExportFormat::CommaDelimited, Input("wide.csv", std::string(1499, ',') + "\r\n"));
  request.fields.clear();
  for (int i = 1; i <= 1500; ++i) request.fields.push_back(Field("F" + std::to_string(i), ExportFieldType::Char, 5));
  MemoryOutputFiles files;
  ASSERT_TRUE(ExportFile(request, files).Exported());
  const std::string out = files.Bytes(request.outputPath);
  const std::string names = out.substr(0, out.find('\r'));
  EXPECT_EQ(1499, std::count(names.begin(), names.end(), ','));
  EXPECT_TRUE(names.ends_with(",F1500"));
  request.format = ExportFormat::XBase;
  request.recordLength = 1500 * 5 + 1;
  MemoryOutputFiles dbf;
  ASSERT_TRUE(ExportFile(request, dbf).Exported());
  EXPECT_EQ(32u + 32 * 1500 + 1 + 7501 + 1, dbf.Bytes(request.outputPath).size());
  for (const ExportFormat format : {ExportFormat::Excel, ExportFormat::Paradox}) {
    request.format = format;
    MemoryOutputFiles refused;
    EXPECT_EQ(ExportOutcome::Refused, ExportFile(request, refused).outcome) << FormatInfo(format).caption;
    EXPECT_TRUE(refused.Created().empty());
  }
}

// One reading of a time with a blank before its marker, and no year of five digits, whatever
// the writer.
TEST_F(DriverTest, EveryWriterReadsDatesAndTimesAlike) {
  ExportRequest request = Request(ExportFormat::SqlSchema, Input("times.csv", "1:2:3 PM,12/25/20245\r\n"));
  request.fields = {Field("At", ExportFieldType::Time, 8), Field("On", ExportFieldType::Date, 8)};
  MemoryOutputFiles sql;
  ExportFile(request, sql);
  EXPECT_NE(std::string::npos, sql.Bytes(request.outputPath).find("VALUES( #12/30/1899 13:02:03#,NULL);"));
  EXPECT_EQ("     1 :  Col : 1 (On) : 12/25/20245\r\n", sql.Bytes(BesideOutput(request.outputPath, kSqlLogName)));
  request.format = ExportFormat::XBase;
  request.recordLength = 17;
  MemoryOutputFiles dbf;
  ExportFile(request, dbf);
  const std::string table = dbf.Bytes(request.outputPath);
  EXPECT_EQ(" 13:02:03        ", table.substr(table.size() - 18, 17));
}

TEST_F(DriverTest, EveryFormatHasAWriter) {
  ExportRequest request = Request(ExportFormat::Paradox, Input("people.csv", kPeople));
  for (const ExportFormatInfo& info : kExportFormats) {
    request.format = info.format;
    EXPECT_NE(nullptr, MakeFormatWriter(request)) << info.caption;
  }
}

}  // namespace
}  // namespace quorlin
