// Parquet files and datasets read back by DuckDB, value by value.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "export/binary_export_support.h"
#include "export/export_writers.h"
#include "export/parquet/parquet_writer.h"
#include "export/parquet/staged_folder.h"
#include "export/pipeline/export_driver.h"
#include "failing_outputs.h"
#include "support/duckdb_query.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::BinaryRequest;
using testing::DuckDbRows;
using testing::Field;
using testing::SqlString;
using Rows = std::vector<std::vector<std::string>>;
using T = ExportFieldType;
namespace fs = std::filesystem;

class ParquetExport : public ::testing::Test {
 protected:
  ExportRequest Request(const std::string& csv, ExportFields fields, const std::string& output = "out.parquet") {
    testing::WriteBytes(dir_.File("in.csv"), csv);
    ExportRequest request =
        BinaryRequest(ExportFormat::Parquet, dir_.File("in.csv"), dir_.File(output), std::move(fields));
    request.locale.shortDateFormat = "dd/MM/yyyy";
    return request;
  }

  std::string Read(const std::string& output = "out.parquet") {
    return "SELECT * FROM read_parquet(" + SqlString(dir_.File(output)) + ")";
  }

  testing::TempDir dir_;
};

ExportFields EveryType() {
  return {Field("flag", T::Bit),          Field("small", T::Byte),     Field("count", T::Integer),
          Field("big", T::Long),          Field("ratio", T::Float),    Field("amount", T::Currency),
          Field("day", T::Date),          Field("at", T::Time),        Field("stamp", T::Datetime),
          Field("name", T::Char, 20)};
}

TEST_F(ParquetExport, KeepsEveryTypeWithBlanksAsNullsAndRejectedValuesCounted) {
  const ExportRequest request = Request(
      "yes,7,-12,9007199254740993,2.5,1250.75,15/01/2002,06:30,12/03/2024 18:45:10,Zoë\r\n"
      "no,255,2147483647,-4,-0.125,-0.1,29/02/2024,23:59:59,01/01/1970,Ärger\r\n"
      ",,,,,,,,,\r\n"
      "maybe,256,2147483648,x,abc,1e2,31/02/2024,25:00,soon,  padded  \r\n"
      "\xC4pfel in Latin-1,1,1,1,1,1,01/01/2000,00:00,01/01/2000,\xC4pfel\r\n",
      EveryType());
  const ExportResult result = ExportFile(request);
  ASSERT_EQ(ExportOutcome::Exported, result.outcome);
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_THAT(result.messages[0], ::testing::StartsWith("9 values were rejected and written as nulls\nSee "));
  const std::string log = testing::ReadBytes(dir_.File(kParquetLogName));
  EXPECT_EQ(9, std::count(log.begin(), log.end(), '\n'));
  EXPECT_THAT(log, ::testing::HasSubstr("4 :  Col : 1 (small) : 256\r\n"));

  const Rows expected = {
      {"true", "7", "-12", "9007199254740993", "2.5", "1250.75", "2002-01-15", "06:30:00", "2024-03-12 18:45:10", "Zoë"},
      {"false", "255", "2147483647", "-4", "-0.125", "-0.1", "2024-02-29", "23:59:59", "1970-01-01 00:00:00", "Ärger"},
      {"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL"},
      {"NULL", "NULL", "NULL", "NULL", "NULL", "100.0", "NULL", "NULL", "NULL", "  padded"},
      {"NULL", "1", "1", "1", "1.0", "1.0", "2000-01-01", "00:00:00", "2000-01-01 00:00:00", "Äpfel"}};
  EXPECT_EQ(expected, DuckDbRows(Read()));
  EXPECT_EQ(Rows({{"flag", "BOOLEAN"}, {"small", "INTEGER"}, {"count", "INTEGER"}, {"big", "BIGINT"},
                  {"ratio", "DOUBLE"}, {"amount", "DOUBLE"}, {"day", "DATE"}, {"at", "TIME"},
                  {"stamp", "TIMESTAMP"}, {"name", "VARCHAR"}}),
            DuckDbRows("SELECT column_name, column_type FROM (DESCRIBE " + Read() + ")"));
  // Text bounds follow the order of the bytes, in which letters with accents come last.
  EXPECT_EQ(Rows({{"  padded", "Ärger"}}),
            DuckDbRows("SELECT stats_min_value, stats_max_value FROM parquet_metadata(" +
                       SqlString(dir_.File("out.parquet")) + ") WHERE path_in_schema = 'name'"));
}

TEST_F(ParquetExport, WritesCurrencyAsAnExactDecimalWhenAsked) {
  ExportRequest request =
      Request("1250.75\r\n-0.00005\r\n922337203685477.5807\r\n922337203685477.5808\r\n", {Field("amount", T::Currency)});
  request.currencyAsDecimal = true;
  ASSERT_TRUE(ExportFile(request).Exported());
  EXPECT_EQ(Rows({{"1250.7500"}, {"-0.0001"}, {"922337203685477.5807"}, {"NULL"}}), DuckDbRows(Read()));
  EXPECT_EQ(Rows({{"DECIMAL(19,4)"}}), DuckDbRows("SELECT column_type FROM (DESCRIBE " + Read() + ")"));
}

TEST_F(ParquetExport, TypesDatesByTheirValuesAndTrimsFixedLengthText) {
  ExportFields fields = {Field("day", T::Date), Field("name", T::Char, 6)};
  fields[0].inputWidth = 10;
  fields[1].inputWidth = 6;
  ExportRequest request = Request("15/01/2002  Anna\r\n16/01/2002  Bob \r\n", fields);
  request.fixedInput = true;
  ASSERT_TRUE(ExportFile(request).Exported());
  EXPECT_EQ(Rows({{"2002-01-15", "Anna"}, {"2002-01-16", "Bob"}}), DuckDbRows(Read()));

  request = Request("15/01/2002 10:30\r\n16/01/2002\r\n", {Field("taken", T::Date)});
  ASSERT_TRUE(ExportFile(request).Exported());
  EXPECT_EQ(Rows({{"2002-01-15 10:30:00"}, {"2002-01-16 00:00:00"}}), DuckDbRows(Read()));
}

TEST_F(ParquetExport, GivesNoRowsForAHeaderAloneAndOneForOneRecord) {
  ExportRequest request = Request("name,count\r\n", {Field("name", T::Char, 5), Field("count", T::Integer)});
  request.hasHeaderRow = true;
  ASSERT_TRUE(ExportFile(request).Exported());
  const auto empty = DuckDbRows({Read(), "SELECT column_name FROM (DESCRIBE " + Read() + ")"});
  EXPECT_EQ(Rows(), empty[0]);
  EXPECT_EQ(Rows({{"name"}, {"count"}}), empty[1]);

  request = Request("name,count\r\nAnna,3", {Field("name", T::Char, 5), Field("count", T::Integer)});
  request.hasHeaderRow = true;
  ASSERT_TRUE(ExportFile(request).Exported());
  EXPECT_EQ(Rows({{"Anna", "3"}}), DuckDbRows(Read()));
}

// Many rows through small row groups and pages: every codec, dictionary pages for a repetitive
// column, plain pages for one of distinct values, and statistics per row group.
TEST_F(ParquetExport, ReadsBackManyRowGroupsInEveryCodec) {
  std::string csv;
  Rows expected;
  for (int i = 0; i < 10000; ++i) {
    const std::string city = i % 7 == 0 ? "" : "City" + std::to_string(i % 5);
    const std::string note = "note " + std::to_string(i * 7919 % 100003);
    csv += std::to_string(i) + "," + city + "," + note + "\r\n";
    expected.push_back({std::to_string(i), city.empty() ? "NULL" : city, note});
  }
  for (const OutputCompression compression :
       {OutputCompression::None, OutputCompression::Snappy, OutputCompression::Zstd}) {
    ExportRequest request =
        Request(csv, {Field("id", T::Long), Field("city", T::Char, 10), Field("note", T::Char, 20)});
    request.compression = compression;
    parquet::FileLimits limits;
    limits.rowGroupBytes = 16 * 1024;
    limits.page.pageValues = 300;
    DiskOutputFiles files;
    const auto writer = MakeParquetWriter(request, limits);
    ASSERT_TRUE(RunExport(request, *writer, files).Exported());
    const auto read = DuckDbRows(
        {Read() + " ORDER BY id",
         "SELECT count(DISTINCT row_group_id), bool_and(encodings LIKE '%RLE_DICTIONARY%') FILTER "
         "(path_in_schema = 'city'), bool_or(encodings LIKE '%DICTIONARY%') FILTER (path_in_schema = 'note') "
         "FROM parquet_metadata(" + SqlString(dir_.File("out.parquet")) + ")",
         "SELECT min(stats_min_value::BIGINT), max(stats_max_value::BIGINT), sum(stats_null_count) FROM "
         "parquet_metadata(" + SqlString(dir_.File("out.parquet")) + ") WHERE path_in_schema = 'id'",
         "SELECT min(stats_min_value), max(stats_max_value), sum(stats_null_count) FROM parquet_metadata(" +
             SqlString(dir_.File("out.parquet")) + ") WHERE path_in_schema = 'city'"});
    EXPECT_EQ(expected, read[0]);
    ASSERT_EQ(1u, read[1].size());
    EXPECT_GT(std::stoi(read[1][0][0]), 1);
    EXPECT_EQ("true", read[1][0][1]);
    EXPECT_EQ("false", read[1][0][2]);
    EXPECT_EQ(Rows({{"0", "9999", "0"}}), read[2]);
    EXPECT_EQ(Rows({{"City0", "City4", "1429"}}), read[3]);
  }
}

// Columns are filled on worker threads while later records are read: the same input must give
// the same bytes every time, and the log its refusals in record order.
TEST_F(ParquetExport, WritesTheSameBytesEveryTimeWithRefusalsLoggedInRecordOrder) {
  std::string csv;
  std::string log;
  for (int i = 1; i <= 30000; ++i) {
    const bool refused = i % 997 == 0;
    csv += std::to_string(i) + "," + (refused ? "many" : std::to_string(i % 200)) + ",City" +
           std::to_string(i % 13) + ",note " + std::to_string(i * 7919 % 100003) + "," +
           std::to_string(i % 28 + 1) + "/02/2001\r\n";
    if (refused) log += std::to_string(i) + " :  Col : 1 (qty) : many\r\n";
  }
  parquet::FileLimits limits;
  limits.rowGroupBytes = 64 * 1024;
  limits.page.pageValues = 2000;
  std::string first;
  for (int run = 0; run < 3; ++run) {
    const ExportRequest request = Request(csv, {Field("id", T::Long), Field("qty", T::Integer),
                                                Field("city", T::Char, 10), Field("note", T::Char, 20),
                                                Field("day", T::Date)});
    DiskOutputFiles files;
    ASSERT_EQ(ExportOutcome::Exported, RunExport(request, *MakeParquetWriter(request, limits), files).outcome);
    const std::string bytes = testing::ReadBytes(dir_.File("out.parquet"));
    if (run == 0) {
      first = bytes;
    } else {
      EXPECT_SAME_BYTES(first, bytes);
    }
    EXPECT_EQ(log, testing::ReadBytes(dir_.File(kParquetLogName)));
  }
  EXPECT_EQ(Rows({{"30000", "30"}}),
            DuckDbRows("SELECT count(*), count(*) FILTER (qty IS NULL) FROM " + SqlString(dir_.File("out.parquet"))));
}

// Repeating whole numbers, dates and times go through a dictionary like strings do, also in a
// date column whose first page decides between days and milliseconds.
TEST_F(ParquetExport, IndexesRepeatingNumbersAndDatesOfEitherType) {
  std::string csv;
  Rows expected;
  for (int i = 0; i < 5000; ++i) {
    const int day = i % 300 + 1;
    const std::string date = (day < 10 ? "0" : "") + std::to_string(day % 28 + 1) + "/" +
                             std::to_string(day / 28 + 1) + "/2001";
    const std::string iso = "2001-" + std::string(day / 28 + 1 < 10 ? "0" : "") + std::to_string(day / 28 + 1) +
                            "-" + (day % 28 + 1 < 10 ? "0" : "") + std::to_string(day % 28 + 1);
    const std::string hour = std::to_string(10 + day % 7);
    csv += std::to_string(i) + "," + std::to_string(i % 50 - 25) + "," + date + "," + date + " " + hour + ":30\r\n";
    expected.push_back({std::to_string(i), std::to_string(i % 50 - 25), iso, iso + " " + hour + ":30:00"});
  }
  const ExportRequest request = Request(
      csv, {Field("id", T::Long), Field("qty", T::Integer), Field("day", T::Date), Field("taken", T::Date)});
  parquet::FileLimits limits;
  limits.page.pageValues = 1500;
  DiskOutputFiles files;
  ASSERT_TRUE(RunExport(request, *MakeParquetWriter(request, limits), files).Exported());
  const auto read = DuckDbRows(
      {Read() + " ORDER BY id",
       "SELECT path_in_schema, encodings LIKE '%RLE_DICTIONARY%' FROM parquet_metadata(" +
           SqlString(dir_.File("out.parquet")) + ") ORDER BY column_id",
       "SELECT column_type FROM (DESCRIBE " + Read() + ")"});
  EXPECT_EQ(expected, read[0]);
  EXPECT_EQ(Rows({{"id", "false"}, {"qty", "true"}, {"day", "true"}, {"taken", "true"}}), read[1]);
  EXPECT_EQ(Rows({{"BIGINT"}, {"INTEGER"}, {"DATE"}, {"TIMESTAMP"}}), read[2]);
}

// Numbers that do not repeat go as differences, which wrap around the type's range between
// neighbours far apart; pages of odd sizes end in part-filled blocks.
TEST_F(ParquetExport, StoresNumbersThatDoNotRepeatAsDifferencesEvenAcrossTheWholeRange) {
  std::string csv;
  Rows expected;
  for (std::uint32_t i = 0; i < 1000; ++i) {
    const auto count = static_cast<std::int32_t>(i * 2654435761u);
    const auto big = static_cast<std::int64_t>(i * 0x9E3779B97F4A7C15ull);
    const bool blank = i % 7 == 3;
    const std::string shown = blank ? "" : std::to_string(count);
    csv += std::to_string(i) + "," + shown + "," + std::to_string(big) + "\r\n";
    expected.push_back({std::to_string(i), blank ? "NULL" : shown, std::to_string(big)});
  }
  csv += "1000,-2147483648,-9223372036854775808\r\n1001,2147483647,9223372036854775807\r\n";
  expected.push_back({"1000", "-2147483648", "-9223372036854775808"});
  expected.push_back({"1001", "2147483647", "9223372036854775807"});
  const ExportRequest request =
      Request(csv, {Field("id", T::Integer), Field("count", T::Integer), Field("big", T::Long)});
  parquet::FileLimits limits;
  limits.page.pageValues = 301;
  DiskOutputFiles files;
  ASSERT_TRUE(RunExport(request, *MakeParquetWriter(request, limits), files).Exported());
  const auto read = DuckDbRows({Read() + " ORDER BY id",
                                "SELECT DISTINCT encodings FROM parquet_metadata(" + SqlString(dir_.File("out.parquet")) + ")"});
  EXPECT_EQ(expected, read[0]);
  EXPECT_EQ(Rows({{"RLE, DELTA_BINARY_PACKED"}}), read[1]);
}

// A column whose strings stop repeating: indexed pages, then plain ones in the same chunk.
TEST_F(ParquetExport, GoesOnWithPlainPagesOnceTheDictionaryIsFull) {
  std::string csv;
  Rows expected;
  for (int i = 0; i < 2000; ++i) {
    const std::string value = i < 600 ? "v" + std::to_string(i % 3) : "w" + std::to_string(i);
    csv += value + "\r\n";
    expected.push_back({value});
  }
  const ExportRequest request = Request(csv, {Field("word", T::Char, 10)});
  parquet::FileLimits limits;
  limits.page.pageValues = 300;
  limits.page.dictionaryBytes = 200;
  DiskOutputFiles files;
  ASSERT_TRUE(RunExport(request, *MakeParquetWriter(request, limits), files).Exported());
  const auto read = DuckDbRows({Read(), "SELECT encodings FROM parquet_metadata(" + SqlString(dir_.File("out.parquet")) + ")"});
  EXPECT_EQ(expected, read[0]);
  EXPECT_EQ(Rows({{"RLE, PLAIN, RLE_DICTIONARY"}}), read[1]);
}

TEST_F(ParquetExport, WritesAFolderOfPartFilesThatReadsAsOneTable) {
  std::string csv;
  Rows expected;
  for (int i = 1; i <= 10; ++i) {
    csv += std::to_string(i) + "," + (i == 4 ? "01/02/2003 04:05" : "01/02/2003") + "\r\n";
    expected.push_back({std::to_string(i), "2003-02-01"});
  }
  ExportRequest request = Request(csv, {Field("id", T::Integer), Field("day", T::Date)}, "set");
  request.rowsPerFile = 3;
  ASSERT_TRUE(ExportFile(request).Exported());
  std::vector<std::string> parts;
  for (const auto& entry : fs::directory_iterator(dir_.File("set"))) parts.push_back(entry.path().filename());
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(std::vector<std::string>({"part-00000.parquet", "part-00001.parquet", "part-00002.parquet",
                                      "part-00003.parquet"}),
            parts);
  // The first part's dates are whole days, so the later time of day is refused in every part.
  expected[3][1] = "NULL";
  const std::string all = "SELECT * FROM read_parquet(" + SqlString(dir_.File("set/*.parquet")) + ") ORDER BY id";
  EXPECT_EQ(expected, DuckDbRows(all));

  // Again into the same folder: the new dataset replaces the old one whole.
  request = Request("1,01/02/2003\r\n", {Field("id", T::Integer), Field("day", T::Date)}, "set");
  request.rowsPerFile = 3;
  ASSERT_TRUE(ExportFile(request).Exported());
  EXPECT_EQ(Rows({{"1", "2003-02-01"}}), DuckDbRows(all));
  EXPECT_EQ(1, std::distance(fs::directory_iterator(dir_.File("set")), fs::directory_iterator()));
}

TEST_F(ParquetExport, RefusesAFolderWithOtherFilesAndLeavesNoStagedFolderBehind) {
  fs::create_directory(dir_.File("mine"));
  testing::WriteBytes(dir_.File("mine/notes.txt"), "keep me");
  ExportRequest request = Request("1\r\n", {Field("id", T::Integer)}, "mine");
  request.rowsPerFile = 5;
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Refused, result.outcome);
  EXPECT_EQ("keep me", testing::ReadBytes(dir_.File("mine/notes.txt")));

  {
    parquet::StagedFolder staged(dir_.File("never"));
    testing::WriteBytes(staged.Path() + "/part-00000.parquet", "x");
  }
  EXPECT_EQ(2, std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()));
  EXPECT_FALSE(fs::exists(dir_.File("never")));
}

TEST_F(ParquetExport, NeverReportsSuccessWhenTheDiskFills) {
  const ExportRequest request = Request("a,1\r\nb,x\r\n", {Field("name", T::Char, 5), Field("count", T::Integer)});
  MemoryOutputFiles memory;
  ASSERT_EQ(ExportOutcome::Exported, ExportFile(request, memory).outcome);
  const std::uint64_t complete =
      memory.Bytes(dir_.File("out.parquet")).size() + memory.Bytes(dir_.File(kParquetLogName)).size();
  for (std::uint64_t budget = 0; budget < complete; ++budget) {
    testing::FailingOutputFiles files(budget);
    EXPECT_EQ(ExportOutcome::Failed, ExportFile(request, files).outcome) << "after " << budget << " bytes";
  }
}

}  // namespace
}  // namespace quorlin
