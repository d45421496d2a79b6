// The typed formats read back by the programs people load them into: workbooks by openpyxl and
// Gnumeric, JSON Lines by Python's json module, SQL by SQLite and PostgreSQL themselves.
#include <algorithm>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <filesystem>

#include "export/export_field_builder.h"
#include "export/export_writers.h"
#include "export/xlsx/xlsx_writer.h"
#include "support/postgres_server.h"
#include "support/run_command.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::CommandResult;
using testing::ReadBytes;
using testing::RunCommand;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kPeopleSchema =
    "[people.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
    "Col1=id Integer\r\nCol2=name Char Width 30\r\nCol3=born Date\r\nCol4=ok Bit\r\nCol5=score Float\r\n";
constexpr const char* kPeople =
    "id,name,born,ok,score\r\n"
    "1,Ann,01/02/2000,yes,1.5\r\n"
    "2,\"O'Brien, Bo\",12/31/1999,no,-0.25\r\n"
    "300,Zo\xC3\xAB,,,\r\n";

class TypedExport : public ::testing::Test {
 protected:
  void SetUp() override { Use(kPeopleSchema, kPeople); }

  void Use(const std::string& schema, const std::string& data) {
    WriteBytes(dir_.File("Schema.INI"), schema);
    WriteBytes(dir_.File("people.csv"), data);
  }

  ExportRequest Request(ExportFormat format, const std::string& output) const {
    ExportRequest request;
    request.format = format;
    request.inputPath = dir_.File("people.csv");
    request.outputPath = dir_.File(output);
    request.inputSeparator = ",";
    request.inputQualifier = "\"";
    request.fields = BuildExportFields(request.inputPath, false, format);
    request.hasHeaderRow = true;
    request.includeFieldNames = true;
    request.title = "people";
    return request;
  }

  // Runs a Python program with Debian's own interpreter, which has the readers installed.
  static CommandResult Python(const std::string& program) {
    const std::string path = ::testing::TempDir() + "/quorlin-read-back.py";
    WriteBytes(path, program);
    return RunCommand("/usr/bin/python3 " + path + " 2>&1");
  }

  TempDir dir_;
};

TEST_F(TypedExport, WorkbookHoldsNumbersDatesBooleansAndTextThatOpenpyxlAndGnumericRead) {
  const ExportResult result = ExportFile(Request(ExportFormat::Xlsx, "people.xlsx"));
  ASSERT_TRUE(result.Exported()) << ::testing::PrintToString(result);
  EXPECT_EQ(3, result.recordsWritten);
  const CommandResult openpyxl = Python(
      "import openpyxl\n"
      "sheet = openpyxl.load_workbook('" + dir_.File("people.xlsx") + "').active\n"
      "for row in sheet.iter_rows(values_only=True): print(repr(row))\n"
      "print(sheet['C2'].number_format)\n");
  EXPECT_EQ(
      "('id', 'name', 'born', 'ok', 'score')\n"
      "(1, 'Ann', datetime.datetime(2000, 1, 2, 0, 0), True, 1.5)\n"
      "(2, \"O'Brien, Bo\", datetime.datetime(1999, 12, 31, 0, 0), False, -0.25)\n"
      "(300, 'Zo\xC3\xAB', None, None, None)\n"
      "yyyy-mm-dd\n",
      openpyxl.out);
  const CommandResult gnumeric = RunCommand("ssconvert -T Gnumeric_stf:stf_csv '" + dir_.File("people.xlsx") +
                                            "' fd://1 2>/dev/null");
  EXPECT_EQ(0, gnumeric.exitCode);
  // Gnumeric shows the dates as dates, in its own format.
  EXPECT_EQ("id,name,born,ok,score\n1,Ann,2000/01/02,TRUE,1.5\n2,\"O'Brien, Bo\",1999/12/31,FALSE,-0.25\n"
            "300,Zo\xC3\xAB,,,\n",
            gnumeric.out);
}

TEST_F(TypedExport, WorkbookRefusesMoreRowsThanASheetHoldsBeforeWritingAny) {
  std::string data = "id,name,born,ok,score\r\n";
  for (std::int64_t i = 0; i < kMaxXlsxRows; ++i) data += "1\r\n";
  Use(kPeopleSchema, data);
  const ExportResult result = ExportFile(Request(ExportFormat::Xlsx, "big.xlsx"));
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_EQ("A worksheet holds at most 1048576 rows and the export needs 1048577: nothing was written",
            result.messages[0]);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("big.xlsx")));
}

TEST_F(TypedExport, JsonLinesAreTypedObjectsThatPythonReadsWithBadBytesReplacedAndCounted) {
  Use(kPeopleSchema, std::string(kPeople) + "4x,bad \xFF byte,13/45/2000,true,1e3\r\n");
  ExportRequest request = Request(ExportFormat::JsonLines, "people.jsonl");
  request.lineEnd = "\n";
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(2, result.valuesRejected);
  EXPECT_EQ((std::vector<std::string>{
                "2 values were no number or date of their field's type and were written as null",
                "1 byte that is not UTF-8 was written as the character U+FFFD"}),
            result.messages);
  const CommandResult read = Python(
      "import json\n"
      "for line in open('" + dir_.File("people.jsonl") + "', encoding='utf-8'):\n"
      "    print(json.dumps(json.loads(line), ensure_ascii=True, sort_keys=True))\n");
  EXPECT_EQ(
      "{\"born\": \"2000-01-02\", \"id\": 1, \"name\": \"Ann\", \"ok\": true, \"score\": 1.5}\n"
      "{\"born\": \"1999-12-31\", \"id\": 2, \"name\": \"O'Brien, Bo\", \"ok\": false, \"score\": -0.25}\n"
      "{\"born\": null, \"id\": 300, \"name\": \"Zo\\u00eb\", \"ok\": null, \"score\": null}\n"
      "{\"born\": null, \"id\": null, \"name\": \"bad \\ufffd byte\", \"ok\": true, \"score\": 1000.0}\n",
      read.out);
}

// Values a script must carry without letting them become statements: a line holding only GO
// inside a text, a NUL, apostrophes, and field names that repeat or are empty.
constexpr const char* kHostileSchema =
    "[people.csv]\r\nColNameHeader=False\r\nFormat=CSVDelimited\r\n"
    "Col1=Name Char Width 40\r\nCol2=name Char Width 40\r\nCol3=Name Char Width 40\r\nCol4=\"\" Integer\r\n";

TEST_F(TypedExport, ScriptNeverPutsALineOfGoFromAValueAndRejectsANul) {
  WriteBytes(dir_.File("Schema.INI"), kHostileSchema);
  WriteBytes(dir_.File("people.csv"), std::string("\"a\nGO\nDROP TABLE precious;--\",\"it's\",ok,1\r\nx,y") +
                                          std::string(1, '\0') + "z,w,2\r\n");
  ExportRequest request = Request(ExportFormat::SqlSchema, "people.sql");
  request.hasHeaderRow = false;
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  const std::string script = ReadBytes(dir_.File("people.sql"));
  std::istringstream lines(script);
  int goLines = 0;
  std::string previous;
  for (std::string line; std::getline(lines, line);) {
    if (line == "GO\r") {
      ++goLines;
      EXPECT_TRUE(previous.ends_with(");\r")) << previous;
    }
    previous = line;
  }
  EXPECT_EQ(3, goLines);
  EXPECT_NE(std::string::npos, script.find("(Name,name_2,Name_3,FIELD4)"));
  EXPECT_NE(std::string::npos,
            script.find("VALUES( 'a' + CHAR(10) + 'GO' + CHAR(10) + 'DROP TABLE precious;--', 'it''s', 'ok', 1);"));
  EXPECT_NE(std::string::npos, script.find("VALUES( 'x',NULL, 'w', 2);"));
  EXPECT_EQ(std::string::npos, script.find('\0'));
  EXPECT_EQ("     2 :  Col : 1 (name) : y z\r\n", ReadBytes(dir_.File("SQLogErr.txt")));
}

TEST_F(TypedExport, SqliteDialectLoadsIntoSqliteWithTheRowsOfTheInput) {
  WriteBytes(dir_.File("people.csv"), std::string(kPeople) + "4,\"two\nlines\",01/02/2000,y,3\r\n");
  ExportRequest request = Request(ExportFormat::SqlSchema, "people.sql");
  request.sqlDialect = SqlDialect::Sqlite;
  request.lineEnd = "\n";
  ASSERT_TRUE(ExportFile(request).Exported());
  const CommandResult loaded =
      RunCommand("sqlite3 -bail :memory: '.read " + dir_.File("people.sql") +
                 "' 'SELECT id, name, born, ok, score FROM people ORDER BY id' 2>&1");
  EXPECT_EQ(0, loaded.exitCode);
  EXPECT_EQ("1|Ann|2000-01-02|1|1.5\n2|O'Brien, Bo|1999-12-31|0|-0.25\n4|two\nlines|2000-01-02|1|3.0\n"
            "300|Zo\xC3\xAB|||\n",
            loaded.out);
  // Names that repeat are made unique, so that the table can be created at all.
  WriteBytes(dir_.File("Schema.INI"), kHostileSchema);
  WriteBytes(dir_.File("people.csv"), "a,b,c,1\r\n");
  request.fields = BuildExportFields(request.inputPath, false, ExportFormat::SqlSchema);
  request.hasHeaderRow = false;
  ASSERT_TRUE(ExportFile(request).Exported());
  const CommandResult unique = RunCommand("sqlite3 -bail :memory: '.read " + dir_.File("people.sql") +
                                          "' 'SELECT \"Name\", \"name_2\", \"Name_3\", \"FIELD4\" FROM people' 2>&1");
  EXPECT_EQ("a|b|c|1\n", unique.out);
}

TEST_F(TypedExport, PostgresqlAndStandardDialectsLoadIntoAPostgresqlServerWithTheRowsOfTheInput) {
  const testing::PostgresServer server;
  if (!server.Ready()) GTEST_SKIP() << server.Problem();
  WriteBytes(dir_.File("people.csv"), std::string(kPeople) + "4,\"two\nlines\",01/02/2000 10:30:00,y,3\r\n");
  const struct {
    SqlDialect dialect;
    const char* database;
  } cases[] = {{SqlDialect::Postgresql, "native"}, {SqlDialect::Ansi, "standard"}};
  for (const auto& c : cases) {
    ExportRequest request = Request(ExportFormat::SqlSchema, std::string(c.database) + ".sql");
    request.sqlDialect = c.dialect;
    ASSERT_TRUE(ExportFile(request).Exported());
    const CommandResult loaded = server.RunFile(c.database, request.outputPath);
    EXPECT_EQ(0, loaded.exitCode) << loaded.out;
    const CommandResult rows = server.Query(c.database, "SELECT id, name, born, ok, score FROM people ORDER BY id");
    EXPECT_EQ("1|Ann|2000-01-02|t|1.5\n2|O'Brien, Bo|1999-12-31|f|-0.25\n4|two\nlines|2000-01-02|t|3\n"
              "300|Zo\xC3\xAB|||\n",
              rows.out)
        << c.database;
  }
}

}  // namespace
}  // namespace quorlin
