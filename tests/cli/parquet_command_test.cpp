// quorlin-cli export --to parquet and schema show --as: the engine statements give the rows the
// Parquet export holds, as DuckDB reads both.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "platform/profile_file.h"
#include "support/duckdb_query.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::CliResult;
using testing::DuckDbRows;
using testing::RunArguments;
using testing::SqlString;
using Rows = std::vector<std::vector<std::string>>;
namespace fs = std::filesystem;

const std::string kSamples = std::string(QUORLIN_SAMPLES) + "/";

// The statement as a query: its closing semicolon dropped.
std::string AsQuery(std::string statement) {
  while (!statement.empty() && (statement.back() == '\n' || statement.back() == ';')) statement.pop_back();
  return statement;
}

Rows Sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Exports `data` to Parquet and prints its DuckDB statement; both read by DuckDB.
void ExpectStatementRowsEqualExport(const std::string& data, const std::string& parquet) {
  SCOPED_TRACE(data);
  const CliResult exported = RunArguments({"export", data, "--to", "parquet", "-o", parquet});
  ASSERT_EQ(0, exported.exitCode) << exported.err;
  const CliResult shown = RunArguments({"schema", "show", data, "--as", "duckdb"});
  ASSERT_EQ(0, shown.exitCode) << shown.err;
  const auto read = DuckDbRows({AsQuery(shown.out), "SELECT * FROM read_parquet(" + SqlString(parquet) + ")"});
  EXPECT_FALSE(read[1].empty());
  EXPECT_EQ(Sorted(read[1]), Sorted(read[0])) << shown.out;
}

TEST(EngineStatements, GiveTheRowsOfTheParquetExportForEverySample) {
  testing::TempDir copy;
  for (const auto& entry : fs::directory_iterator(kSamples)) {
    fs::copy_file(entry.path(), copy.File(entry.path().filename().string()));
  }
  for (const std::string& section : ProfileFile(copy.File("Schema.INI")).ReadSections()) {
    ExpectStatementRowsEqualExport(copy.File(section), copy.File(section + ".parquet"));
  }
}

class ParquetCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteBytes(dir_.File("people.txt"),
                        "Name;Born;Shift;Score;Visits;Member;Note\r\n"
                        "Zoë Ärger;03/04/1999;06:30;12.5;9007199254740993;yes;\"semi; colon\"\r\n"
                        "Bob;;;;;no;\r\n"
                        "\"Carla Koch\";12/31/2001;23:59:59;-0.25;-7;;plain\r\n");
    testing::WriteBytes(dir_.File("Schema.INI"),
                        "[people.txt]\r\nColNameHeader=True\r\nFormat=Delimited(;)\r\nMaxScanRows=25\r\n"
                        "Col1=Name Char WIDTH 30\r\nCol2=Born Date\r\nCol3=Shift Time\r\nCol4=Score Float\r\n"
                        "Col5=Visits Long\r\nCol6=Member Bit\r\nCol7=Note Char WIDTH 20\r\n");
  }

  testing::TempDir dir_;
};

TEST_F(ParquetCommand, StatementOfACustomSeparatorFileMatchesTheExportWithNullsAndNonAsciiText) {
  ExpectStatementRowsEqualExport(dir_.File("people.txt"), dir_.File("people.parquet"));
  EXPECT_EQ(Rows({{"Zoë Ärger", "1999-03-04", "06:30:00", "12.5", "9007199254740993", "true", "semi; colon"},
                  {"Bob", "NULL", "NULL", "NULL", "NULL", "false", "NULL"},
                  {"Carla Koch", "2001-12-31", "23:59:59", "-0.25", "-7", "NULL", "plain"}}),
            DuckDbRows("SELECT * FROM read_parquet(" + SqlString(dir_.File("people.parquet")) + ")"));
}

TEST_F(ParquetCommand, WritesADatasetThatReadsAsTheSingleFileDoes) {
  ASSERT_EQ(0, RunArguments({"export", dir_.File("people.txt"), "--to", "parquet", "-o", dir_.File("one.parquet"),
                             "--compression", "snappy"})
                   .exitCode);
  const CliResult parts = RunArguments({"export", dir_.File("people.txt"), "--to", "parquet", "-o",
                                        dir_.File("set"), "--rows-per-file", "2", "--compression", "none"});
  ASSERT_EQ(0, parts.exitCode) << parts.err;
  EXPECT_TRUE(fs::exists(dir_.File("set/part-00001.parquet")));
  const auto read = DuckDbRows({"SELECT * FROM read_parquet(" + SqlString(dir_.File("one.parquet")) + ")",
                                "SELECT * FROM read_parquet(" + SqlString(dir_.File("set/*.parquet")) + ")"});
  EXPECT_EQ(Sorted(read[0]), Sorted(read[1]));
  EXPECT_EQ(3u, read[1].size());
}

TEST_F(ParquetCommand, RefusesAnUnknownCompressionAndRowsPerFileOfZero) {
  EXPECT_EQ(2, RunArguments({"export", dir_.File("people.txt"), "--to", "parquet", "-o", dir_.File("x.parquet"),
                             "--compression", "lz4"})
                   .exitCode);
  EXPECT_EQ(2, RunArguments({"export", dir_.File("people.txt"), "--to", "parquet", "-o", dir_.File("x"),
                             "--rows-per-file", "0"})
                   .exitCode);
  EXPECT_FALSE(fs::exists(dir_.File("x.parquet")));
  EXPECT_FALSE(fs::exists(dir_.File("x")));
}

// No cluster here: the statements are held to the forms the engines document.
TEST_F(ParquetCommand, SparkAndTrinoStatementsReadTheFileWithItsLayout) {
  const CliResult spark = RunArguments({"schema", "show", dir_.File("people.txt"), "--as", "spark"});
  ASSERT_EQ(0, spark.exitCode) << spark.err;
  EXPECT_THAT(spark.out, ::testing::HasSubstr("CREATE OR REPLACE TEMPORARY VIEW `people` (\n    `Name` STRING,\n"
                                              "    `Born` DATE,\n    `Shift` STRING,\n    `Score` DOUBLE,\n"
                                              "    `Visits` BIGINT,\n    `Member` BOOLEAN,\n    `Note` STRING\n)\n"
                                              "USING csv\nOPTIONS (\n    path '" + dir_.File("people.txt") +
                                              "',\n    sep ';',\n    quote '\"',\n    escape '\"',\n"
                                              "    header 'true',\n    dateFormat 'MM/dd/yyyy',\n"));
  const CliResult trino = RunArguments({"schema", "show", dir_.File("people.txt"), "--as", "trino"});
  ASSERT_EQ(0, trino.exitCode) << trino.err;
  EXPECT_THAT(trino.out, ::testing::HasSubstr("    format = 'CSV',\n    csv_separator = ';',\n    csv_quote = '\"',\n"
                                              "    skip_header_line_count = 1,\n    external_location = 'file://" +
                                              dir_.Path() + "'\n);"));
  EXPECT_THAT(trino.out, ::testing::HasSubstr("try(CAST(date_parse(trim(\"Born\"), '%m/%d/%Y') AS date)) AS \"Born\""));

  const CliResult fixed = RunArguments({"schema", "show", kSamples + "stock.dat", "--as", "spark"});
  ASSERT_EQ(0, fixed.exitCode) << fixed.err;
  EXPECT_THAT(fixed.out, ::testing::HasSubstr("USING text\n"));
  EXPECT_THAT(fixed.out, ::testing::HasSubstr("try_cast(trim(substring(value, 37, 6)) AS INT) AS `Qty`"));
  EXPECT_THAT(fixed.out, ::testing::HasSubstr("WHERE value <> 'ItemCode,Description,Qty,Price,Updated';"));
}

}  // namespace
}  // namespace quorlin
