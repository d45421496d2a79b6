// A plain pass over one table reads its rows straight from the file; it must give what the SQL
// engine gives for the same rows, value for value and type for type, failures included.
#include "odbc/driver/plain_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "odbc/driver/sql_database.h"
#include "odbc/driver/sql_error.h"
#include "support/test_files.h"

namespace quorlin::driver {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// Each value as its kind's number and its character form; a failure ends the rows.
struct Reading {
  std::vector<int> kinds;
  std::vector<std::vector<std::string>> rows;
  std::string failure;
};

Reading ReadAll(ResultSet& rows) {
  Reading reading;
  for (const ResultColumn& column : rows.Columns()) reading.kinds.push_back(static_cast<int>(column.kind));
  try {
    while (rows.Next()) {
      std::vector<std::string>& row = reading.rows.emplace_back();
      for (std::size_t k = 0; k < rows.Columns().size(); ++k) {
        const CellValue value = rows.Value(k);
        std::string shown = std::to_string(static_cast<int>(value.kind)) + ":";
        AppendCharacterForm(value, shown);
        row.push_back(shown);
      }
    }
  } catch (const SqlError& error) {
    reading.failure = error.SqlState() + " " + error.what();
  }
  return reading;
}

Reading Read(SqlDatabase& database, const std::string& sql, bool plain) {
  const PreparedQuery query = database.Prepare(sql);
  EXPECT_EQ(plain, query.scan.has_value()) << sql;
  try {
    return ReadAll(*database.Rows(query));
  } catch (const SqlError& error) {
    return Reading{{}, {}, error.SqlState() + " " + error.what()};
  }
}

void ExpectSame(const Reading& engine, const Reading& plain) {
  EXPECT_EQ(engine.kinds, plain.kinds);
  EXPECT_EQ(engine.rows, plain.rows);
  EXPECT_EQ(engine.failure, plain.failure);
}

class PlainScanRows : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(folder.File("Schema.INI"),
               "[all.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=i Integer\r\nCol2=s Short\r\n"
               "Col3=b Byte\r\nCol4=d Double\r\nCol5=day Date FMT dd/MM/yyyy\r\nCol6=at Time\r\n"
               "Col7=stamp DateTime\r\nCol8=f Bit\r\nCol9=c Char WIDTH 10\r\nCol10=memo LongChar\r\n"
               "[bad.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=i Integer\r\nCol2=day Date\r\n"
               "[first.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=i Integer\r\n"
               "[late.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=i Integer\r\nCol2=c Char\r\n");
    WriteBytes(folder.File("all.csv"),
               "i,s,b,d,day,at,stamp,f,c,memo\r\n"
               "1,-32768,255,24854.80,06/06/1997,10:30:00,2002-01-15 10:30:00.5,yes,\"a, b\",long text\r\n"
               ",,,,,,,,,\r\n"
               "  ,  ,  ,  ,  ,  ,  ,  ,  ,  \r\n"
               "+7,1e2,0,-0,2024-02-29,23:59:59,1999-12-31,Off,x,\r\n"
               "2147483647,0,1,1e308,31/12/9999,00:00:00,2000-01-01 00:00:00,2,\"\",\"q\"\"\"\r\n"
               "-5\r\n");
    WriteBytes(folder.File("bad.csv"), "i,day\r\n1,2020-01-01\r\n2,not a date\r\n3,2020-01-03\r\n");
    WriteBytes(folder.File("first.csv"), "i\r\nx\r\n");
    WriteBytes(folder.File("late.csv"), "i,c\r\n1,a\r\n99999999999,b\r\n");
  }
  TempDir folder;
  SqlDatabase database{FolderSource{folder.Path(), {"csv"}, LocaleSettings{}}};
};

TEST_F(PlainScanRows, GivesTheEnginesRowsAndTypesForEveryColumnTypeAndBlanks) {
  const Reading plain = Read(database, "SELECT * FROM all.csv", true);
  ASSERT_EQ(6u, plain.rows.size()) << plain.failure;
  ExpectSame(Read(database, "SELECT * FROM all.csv LIMIT 100", false), plain);
  ExpectSame(Read(database, "SELECT memo, c, d, day, i FROM all.csv LIMIT 100", false),
             Read(database, "SELECT memo, c, d, day, i FROM \"all.csv\"", true));
}

TEST_F(PlainScanRows, FailsOnTheSameRowWithTheSameMessageAsTheEngine) {
  const Reading plain = Read(database, "SELECT * FROM bad.csv", true);
  EXPECT_EQ(1u, plain.rows.size());
  EXPECT_NE("", plain.failure);
  ExpectSame(Read(database, "SELECT * FROM bad.csv LIMIT 100", false), plain);
  // A failure in the first row is the execution's, in both.
  const Reading first = Read(database, "SELECT i FROM first.csv", true);
  EXPECT_TRUE(first.kinds.empty() && first.failure.starts_with("22018 Row 1 (line 2 of first.csv), column i"))
      << first.failure;
  ExpectSame(Read(database, "SELECT i FROM first.csv LIMIT 5", false), first);
  ExpectSame(Read(database, "SELECT c, i FROM late.csv LIMIT 5", false), Read(database, "SELECT c, i FROM late.csv", true));
}

// The rows are read ahead in batches: values must stay whole across batches and around a
// record larger than a batch, and a failure must still end the rows at its own row.
TEST_F(PlainScanRows, KeepsEveryValueAndTheFailingRowAcrossBatchesAndHugeRecords) {
  std::string rows = "i,d,day,c\r\n";
  for (int k = 1; k <= 40'000; ++k) {
    const std::string text = k == 21'000 ? std::string(1'500'000, 'x') : "text " + std::to_string(k);
    rows += std::to_string(k) + "," + std::to_string(k) + ".50," + std::to_string(k % 28 + 1) + "/02/2001,\"" + text +
            "\"\r\n";
  }
  WriteBytes(folder.File("many.csv"), rows + "40001,x,01/01/2001,bad\r\n40002,1,01/01/2001,after\r\n");
  WriteBytes(folder.File("Schema.INI"),
             "[many.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=i Integer\r\nCol2=d Double\r\n"
             "Col3=day Date FMT dd/MM/yyyy\r\nCol4=c LongChar\r\n");
  SqlDatabase fresh{FolderSource{folder.Path(), {"csv"}, LocaleSettings{}}};
  const Reading plain = Read(fresh, "SELECT * FROM many.csv", true);
  EXPECT_EQ(40'000u, plain.rows.size());
  EXPECT_TRUE(plain.failure.starts_with("22018 Row 40001")) << plain.failure;
  ExpectSame(Read(fresh, "SELECT * FROM many.csv LIMIT 50000", false), plain);
}

TEST_F(PlainScanRows, IsNotTakenForAnythingButAPassHandingOutFields) {
  for (const char* sql :
       {"SELECT i FROM all.csv WHERE i > 0", "SELECT i FROM all.csv ORDER BY i", "SELECT DISTINCT c FROM all.csv",
        "SELECT i + 1 FROM all.csv", "SELECT 1, i FROM all.csv", "SELECT count(*) FROM all.csv",
        "SELECT i FROM all.csv LIMIT 2 OFFSET 1", "SELECT a.i FROM all.csv a, bad.csv b",
        "SELECT rowid, i FROM all.csv", "SELECT i FROM all.csv UNION ALL SELECT i FROM bad.csv",
        "SELECT upper(c) FROM all.csv", "SELECT 1"}) {
    EXPECT_FALSE(database.Prepare(sql).scan.has_value()) << sql;
  }
}

}  // namespace
}  // namespace quorlin::driver
