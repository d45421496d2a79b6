// Whole SQL through the text driver, as pyodbc and isql send it, against the same statement in
// sqlite3 on the same rows imported into real tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "odbc_session.h"
#include "support/case_names.h"
#include "support/odbc_sandbox.h"
#include "support/sql_reference.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

struct Statement {
  const char* name;
  const char* sql;
};

class SqlStatements : public ::testing::TestWithParam<Statement> {
 protected:
  static void SetUpTestSuite() {
    data_ = new TempDir();
    scratch_ = new TempDir();
    ASSERT_TRUE(WriteSqlFolder(data_->Path(), Reference()));
  }
  static void TearDownTestSuite() {
    delete data_;
    delete scratch_;
  }
  void SetUp() override { sandbox.AddTextDataSource("Sales", data_->Path()); }

  static std::string Reference() { return scratch_->File("reference.db"); }

  OdbcSandbox sandbox;
  static TempDir* data_;
  static TempDir* scratch_;
};

TempDir* SqlStatements::data_ = nullptr;
TempDir* SqlStatements::scratch_ = nullptr;

TEST_P(SqlStatements, GiveWhatSqliteGivesOnTheSameRows) {
  const nlohmann::json expected = ReferenceRows(Reference(), GetParam().sql);
  ASSERT_TRUE(expected.is_array()) << expected;
  ASSERT_FALSE(expected.empty());
  const nlohmann::json got = PyodbcRows("Sales", GetParam().sql);
  EXPECT_TRUE(SameRows(expected, got)) << "sqlite3: " << expected << "\npyodbc: " << got;
}

INSTANTIATE_TEST_SUITE_P(
    Statements, SqlStatements,
    ::testing::Values(
        Statement{"OrderBySeveralKeys",
                  "SELECT Customer, Paid, Amount, OrderNo FROM [orders.csv] "
                  "ORDER BY Customer DESC, Paid, Amount, OrderNo"},
        Statement{"GroupByWithAggregates",
                  "SELECT Customer, COUNT(*), COUNT(Amount), SUM(Amount), AVG(Amount), MIN(Placed), MAX(Amount) "
                  "FROM [orders.csv] GROUP BY Customer ORDER BY Customer"},
        Statement{"WhereWithOrLikeInBetweenIsNull",
                  "SELECT OrderNo FROM [orders.csv] WHERE Customer LIKE 'j%' OR OrderNo IN (3, 5, 8) "
                  "OR Amount BETWEEN 100 AND 110.5 OR Placed IS NULL ORDER BY OrderNo"},
        Statement{"WhereTheTableSkipsRows",
                  "SELECT * FROM [orders.csv] WHERE Amount >= 250 AND Customer = 'Lee' AND Paid = 1 AND "
                  "OrderNo < 390 AND Placed > '2000-01-01'"},
        Statement{"JoinOfTwoFiles",
                  "SELECT o.OrderNo, o.Customer, c.City, c.Rating FROM [orders.csv] o "
                  "JOIN [customers.txt] c ON c.Name = o.Customer WHERE c.Rating >= 2 ORDER BY c.City, o.OrderNo"},
        Statement{"LimitAndOffset", "SELECT OrderNo, Amount FROM [orders.csv] ORDER BY Amount DESC, OrderNo "
                                    "LIMIT 7 OFFSET 5"},
        Statement{"Distinct", "SELECT DISTINCT Customer, Paid FROM [orders.csv] ORDER BY 1, 2"},
        Statement{"ExpressionsAndSubqueries",
                  "SELECT Customer, ROUND(SUM(Amount) / COUNT(*), 2) AS Mean, "
                  "(SELECT COUNT(*) FROM [customers.txt]) AS Known FROM [orders.csv] "
                  "WHERE strftime('%Y', Placed) BETWEEN '2000' AND '2010' GROUP BY Customer HAVING COUNT(*) > 3 "
                  "ORDER BY Mean"}),
    CaseNameMember{});

class SqlOverAFile : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("orders.csv"), "OrderNo,Customer\r\n1,Smith\r\n");
    sandbox.AddTextDataSource("Sales", data.Path());
  }
  OdbcSandbox sandbox;
  TempDir data;
};

TEST_F(SqlOverAFile, WritingAttachingAndLoadingAreRefusedAndNothingIsWritten) {
  OdbcSession session("DSN=Sales");
  ASSERT_TRUE(session.Connected()) << session.Error();
  for (const std::string& sql : std::vector<std::string>{"DELETE FROM [orders.csv]", "INSERT INTO [orders.csv] VALUES (2, 'Lee')", "CREATE TABLE t (a)",
        "CREATE TEMP TABLE t AS SELECT * FROM [orders.csv]", "ATTACH '" + data.File("evil.db") + "' AS evil",
        "SELECT load_extension('/tmp/anything.so')", "PRAGMA writable_schema = 1", "VACUUM INTO '" +
        data.File("copy.db") + "'", "CREATE VIRTUAL TABLE p USING quorlin('/etc/passwd')"}) {
    const QueryResult result = RunQuery(session, sql);
    EXPECT_EQ("42000", result.error.substr(0, 5)) << sql << ": " << result.error;
    EXPECT_NE(std::string::npos, result.error.find("the text driver never writes its files")) << sql << ": " << result.error;
  }
  EXPECT_EQ("42000", RunQuery(session, "SELECT 1; DELETE FROM [orders.csv]").error.substr(0, 5));
  EXPECT_EQ("OrderNo,Customer\r\n1,Smith\r\n", ReadBytes(data.File("orders.csv")));
  EXPECT_EQ((std::vector<std::string>{"orders.csv"}), [&] {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(data.Path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }());
  const QueryResult reading = RunQuery(session, "PRAGMA table_info([orders.csv])");
  EXPECT_EQ("", reading.error);
}

TEST_F(SqlOverAFile, ResultColumnsFollowTheLayoutForFieldsAndSqliteOtherwise) {
  WriteBytes(data.File("Schema.INI"), "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
                                      "Col1=OrderNo Short\r\nCol2=Customer Char Width 12\r\n");
  OdbcSession session("DSN=Sales");
  OdbcStatement statement(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(
      statement.Handle(),
      (SQLCHAR*)"SELECT OrderNo, Customer, COUNT(*), SUM(OrderNo) * 1.5, upper(Customer) FROM orders.csv", SQL_NTS)))
      << statement.Error();
  std::vector<SQLSMALLINT> types;
  std::vector<SQLULEN> sizes;
  for (SQLUSMALLINT k = 1; k <= 5; ++k) {
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLDescribeCol(statement.Handle(), k, nullptr, 0, nullptr, &type, &size, nullptr, nullptr);
    types.push_back(type);
    sizes.push_back(size);
  }
  EXPECT_EQ((std::vector<SQLSMALLINT>{SQL_SMALLINT, SQL_VARCHAR, SQL_BIGINT, SQL_DOUBLE, SQL_VARCHAR}), types);
  EXPECT_EQ(12u, sizes[1]);
}

TEST_F(SqlOverAFile, ASavedLayoutIsReadAgainOnceItChanged) {
  OdbcSession session("DSN=Sales");
  EXPECT_EQ((std::vector<std::string>{"OrderNo", "Customer"}), RunQuery(session, "SELECT * FROM orders.csv").columns);
  WriteBytes(data.File("Schema.INI"), "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\n"
                                      "Col1=Number Integer\r\nCol2=Name Char\r\n");
  const QueryResult changed = RunQuery(session, "SELECT Number + 1, Name FROM orders.csv");
  ASSERT_EQ("", changed.error);
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"2", "Smith"}}), changed.rows);
}

nlohmann::json AsJson(const std::vector<std::vector<std::string>>& rows) {
  nlohmann::json result = nlohmann::json::array();
  for (const auto& row : rows) {
    nlohmann::json& cells = result.emplace_back(nlohmann::json::array());
    for (const std::string& cell : row) {
      char* end = nullptr;
      const double number = std::strtod(cell.c_str(), &end);
      cells.push_back(!cell.empty() && *end == '\0' ? nlohmann::json(number) : nlohmann::json(cell));
    }
  }
  return result;
}

TEST(SqlThroughIsql, GroupsAsSqlite3Does) {
  TempDir data;
  OdbcSandbox sandbox;
  ASSERT_TRUE(WriteSqlFolder(data.Path(), data.File("reference.db")));
  sandbox.AddTextDataSource("Sales", data.Path());
  const std::string sql =
      "SELECT Customer, COUNT(*), SUM(Amount), MIN(Placed), MAX(Paid) FROM [orders.csv] WHERE Customer IS NOT NULL "
      "GROUP BY Customer ORDER BY Customer";
  const CommandResult got = RunOdbcClient("echo " + ShellQuoted(sql) + " | isql -b -d'|' Sales 2>&1");
  ASSERT_EQ(0, got.exitCode) << got.out;
  const CommandResult expected =
      RunCommand("sqlite3 -separator '|' " + ShellQuoted(data.File("reference.db")) + " " + ShellQuoted(sql));
  ASSERT_EQ(0, expected.exitCode) << expected.out;
  EXPECT_EQ(7u, BarRows(got.out).size()) << got.out;
  EXPECT_TRUE(SameRows(AsJson(BarRows(expected.out)), AsJson(BarRows(got.out)))) << expected.out << "\n" << got.out;
}

TEST(SqliteExtension, QueriesAFileAndAWholeFolderInSqlite3) {
  TempDir data;
  ASSERT_TRUE(WriteSqlFolder(data.Path(), data.File("reference.db")));
  const std::string query =
      "SELECT COUNT(*), SUM(Amount), (SELECT typeof(Placed) || typeof(Paid) FROM \"orders.csv\" WHERE Placed "
      "IS NOT NULL AND Paid IS NOT NULL LIMIT 1) FROM \"orders.csv\";\n"
      "SELECT COUNT(*) FROM \"orders.csv\" JOIN \"customers.txt\" ON Name = Customer;\n";
  WriteBytes(data.File("extension.sql"), ".load " + std::string(QUORLIN_SQLITE_EXTENSION) +
                                             "\nCREATE VIRTUAL TABLE \"orders.csv\" USING quorlin('" +
                                             data.File("orders.csv") + "');\n" + "SELECT quorlin_attach('" +
                                             data.Path() + "');\n" + query);
  WriteBytes(data.File("reference.sql"), "SELECT 2;\n" + query);
  // Started as the ODBC clients are, so that an instrumented extension finds its sanitizer loaded.
  const CommandResult got = RunOdbcClient("sqlite3 :memory: < " + ShellQuoted(data.File("extension.sql")) + " 2>&1");
  ASSERT_EQ(0, got.exitCode) << got.out;
  const CommandResult expected = RunCommand("sqlite3 " + ShellQuoted(data.File("reference.db")) + " < " +
                                            ShellQuoted(data.File("reference.sql")) + " 2>&1");
  EXPECT_NE(std::string::npos, got.out.find("|textinteger\n")) << got.out;
  EXPECT_EQ(expected.out, got.out);
}

}  // namespace
}  // namespace quorlin::testing
