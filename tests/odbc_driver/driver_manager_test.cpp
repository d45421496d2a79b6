// The driver as clients reach it: loaded by the real driver manager from the sandbox's registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "odbc/driver/column_kind.h"
#include "odbc_session.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Strings = std::vector<std::string>;

constexpr const char* kOrders =
    "OrderNo,Customer,Amount,Placed,Paid\r\n"
    "1,Smith,12.50,01/15/2002,Yes\r\n"
    "2,\"Jones, A\" ,7,2003-02-01,No\r\n"
    "3,,,,\r\n"
    "4, 'Lee' , -1e2,12/31/1999 10:30,off\r\n"
    "5,Brown\r\n";

constexpr const char* kOrdersSection =
    "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nMaxScanRows=25\r\nCharacterSet=OEM\r\n"
    "Col1=OrderNo Integer\r\nCol2=Customer Char WIDTH 30\r\nCol3=Amount Float\r\nCol4=Placed Date\r\n"
    "Col5=Paid Bit\r\n";

class DriverManager : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("orders.csv"), kOrders);
    WriteBytes(data.File("Schema.INI"), kOrdersSection);
    sandbox.AddTextDataSource("Orders", data.Path());
  }

  Rows PreviewRows(const std::string& file, const std::string& separator, bool header,
                   const std::vector<driver::ColumnKind>& kinds) {
    return testing::PreviewRows(data.File(file), separator, header, kinds);
  }

  std::map<std::string, std::filesystem::file_time_type> FolderState() {
    std::map<std::string, std::filesystem::file_time_type> state;
    for (const auto& entry : std::filesystem::directory_iterator(data.Path())) {
      state[entry.path().filename().string()] = entry.last_write_time();
    }
    return state;
  }

  OdbcSandbox sandbox;
  TempDir data;
};

TEST_F(DriverManager, RowsAreThoseOfThePreviewInTheSavedTypes) {
  OdbcSession session("DSN=Orders");
  ASSERT_TRUE(session.Connected()) << session.Error();
  const QueryResult result = RunQuery(session, "SELECT * FROM [orders.csv]");
  ASSERT_EQ("", result.error);
  EXPECT_EQ((Strings{"OrderNo", "Customer", "Amount", "Placed", "Paid"}), result.columns);
  using driver::ColumnKind;
  EXPECT_EQ(PreviewRows("orders.csv", ",", true,
                        {ColumnKind::Integer, ColumnKind::Text, ColumnKind::Double, ColumnKind::Date, ColumnKind::Bit}),
            result.rows);
  EXPECT_EQ((Strings{"4", "'Lee'", "-100", "1999-12-31", "0"}), result.rows[3]);
}

TEST_F(DriverManager, AFileWithoutASectionIsCommaDelimitedWithAHeaderOfTextColumns) {
  WriteBytes(data.File("plain.txt"), "a,b,\r\nx, \"y, z\" ,w\r\n\r\n1\r\n");
  OdbcSession session("DSN=Orders");
  const QueryResult result = RunQuery(session, "SELECT * FROM plain.txt");
  ASSERT_EQ("", result.error);
  // The separator that ends line 1 is followed by an empty name, numbered as the preview numbers it.
  EXPECT_EQ((Strings{"a", "b", "Field3"}), result.columns);
  using driver::ColumnKind;
  EXPECT_EQ(PreviewRows("plain.txt", ",", true, {ColumnKind::Text, ColumnKind::Text, ColumnKind::Text}),
            result.rows);
}

TEST_F(DriverManager, OtherSeparatorsAndFixedWidthsComeFromTheSection) {
  WriteBytes(data.File("semi.txt"), "1;a b;'x;y'\r\n2;;z\r\n");
  WriteBytes(data.File("stock.dat"), "A-100     Hex bolt  001250\r\nB-2       Nut       4\r\nshort\r\n");
  WriteBytes(data.File("Schema.INI"),
             std::string(kOrdersSection) +
                 "[semi.txt]\r\nColNameHeader=False\r\nFormat=Delimited(;)\r\nCol1=N Short\r\nCol2=Name Char\r\n"
                 "Col3=Rest Char\r\n[stock.dat]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nFixedLength=26\r\n"
                 "Col1=Code Char WIDTH 10\r\nCol2=Item Char WIDTH 10\r\nCol3=Qty Integer WIDTH 6\r\n");
  OdbcSession session("DSN=Orders");
  const QueryResult semi = RunQuery(session, "SELECT Rest, N FROM semi.txt WHERE N >= 1");
  ASSERT_EQ("", semi.error);
  EXPECT_EQ((Rows{{"'x", "1"}, {"z", "2"}}), semi.rows);
  const QueryResult stock = RunQuery(session, "SELECT * FROM stock.dat");
  ASSERT_EQ("", stock.error);
  EXPECT_EQ((Rows{{"A-100", "Hex bolt", "1250"}, {"B-2", "Nut", "4"}, {"short", "NULL", "NULL"}}), stock.rows);
}

// Day-first dates and decimal points read right whatever the process's locale says.
TEST_F(DriverManager, QuotedLineBreaksAndTheFilesOwnDatesAndDecimals) {
  WriteBytes(data.File("notes.csv"),
             "Id,Note,Placed,Amount\r\n1,\"two\r\nlines\",03/11/1998,12.5\r\n2,\"He said \"\"hi\"\"\",15/01/2002,7\r\n");
  WriteBytes(data.File("Schema.INI"),
             std::string(kOrdersSection) +
                 "[notes.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nDateTimeFormat=dd/mm/yyyy\r\n"
                 "DecimalSymbol=.\r\nCol1=Id Integer\r\nCol2=Note Char WIDTH 20\r\nCol3=Placed Date\r\n"
                 "Col4=Amount Float\r\n");
  OdbcSession session("DSN=Orders");
  const QueryResult result = RunQuery(session, "SELECT * FROM notes.csv");
  ASSERT_EQ("", result.error);
  EXPECT_EQ((Rows{{"1", "two\r\nlines", "1998-11-03", "12.5"}, {"2", "He said \"hi\"", "2002-01-15", "7"}}),
            result.rows);
}

TEST_F(DriverManager, WhereKeepsTheRowsThatMeetEveryCondition) {
  OdbcSession session("DSN=Orders");
  struct Case {
    const char* where;
    Strings orderNumbers;
  };
  for (const Case& c : std::vector<Case>{{"Amount > 7", {"1"}},
                                          {"Amount <= 7 AND OrderNo <> 2", {"4"}},
                                          {"Customer = 'Jones, A'", {"2"}},
                                          {"Placed >= {d '2002-01-15'}", {"1", "2"}},
                                          {"Placed < '2000-01-01'", {"4"}},
                                          {"Paid = 1", {"1"}},
                                          {"Paid = 0", {"2", "4"}}}) {
    const QueryResult result = RunQuery(session, std::string("SELECT OrderNo FROM orders.csv WHERE ") + c.where);
    ASSERT_EQ("", result.error) << c.where;
    Strings numbers;
    for (const auto& row : result.rows) numbers.push_back(row[0]);
    EXPECT_EQ(c.orderNumbers, numbers) << c.where;
  }
}

TEST_F(DriverManager, LongValuesComeOutInPieces) {
  const std::string longValue(10000, 'v');
  WriteBytes(data.File("long.csv"), "Text,Name\r\n" + longValue + ",caf\xE9\r\n");
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(statement.Handle(), (SQLCHAR*)"SELECT * FROM long.csv", SQL_NTS)));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(statement.Handle()));
  std::string assembled;
  char piece[100];
  SQLLEN indicator = 0;
  SQLRETURN result;
  std::vector<SQLLEN> remaining;
  while ((result = SQLGetData(statement.Handle(), 1, SQL_C_CHAR, piece, sizeof piece, &indicator)) != SQL_NO_DATA) {
    ASSERT_TRUE(SQL_SUCCEEDED(result));
    assembled += piece;
    remaining.push_back(indicator);
  }
  EXPECT_EQ(longValue, assembled);
  // Each piece fills the buffer but its last byte, which ends the piece.
  ASSERT_EQ(102u, remaining.size());
  for (std::size_t k = 0; k < remaining.size(); ++k) EXPECT_EQ(static_cast<SQLLEN>(10000 - 99 * k), remaining[k]);
  SQLWCHAR wide[8] = {};
  ASSERT_EQ(SQL_SUCCESS, SQLGetData(statement.Handle(), 2, SQL_C_WCHAR, wide, sizeof wide, &indicator));
  EXPECT_EQ(8, indicator);
  EXPECT_EQ(0xE9, wide[3]);
}

// A sum or a sort over a value that is no number would be wrong, so the statement stops there.
TEST_F(DriverManager, AValueThatDoesNotConvertEndsTheRowsWithItsRowAndLine) {
  WriteBytes(data.File("orders.csv"), "OrderNo,Customer,Amount\r\n1,a,1\r\n2,b,12a\r\n3,c,3\r\n");
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(statement.Handle(), (SQLCHAR*)"SELECT * FROM orders.csv", SQL_NTS)));
  double amount = 0;
  SQLLEN indicator = 0;
  SQLBindCol(statement.Handle(), 3, SQL_C_DOUBLE, &amount, 0, &indicator);
  EXPECT_EQ(SQL_SUCCESS, SQLFetch(statement.Handle()));
  EXPECT_EQ(SQL_ERROR, SQLFetch(statement.Handle()));
  EXPECT_EQ("22018 [Quorlin][Text Driver]Row 2 (line 3 of orders.csv), column Amount: \"12a\" is not a number",
            statement.Error());
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(statement.Handle()));
  EXPECT_EQ("22018", RunQuery(session, "SELECT SUM(Amount) FROM orders.csv").error.substr(0, 5));
}

TEST_F(DriverManager, BadQueriesAndBadLayoutsGiveTheirStates) {
  WriteBytes(data.File("stock.dat"), "A\r\n");
  WriteBytes(data.File("Schema.INI"), std::string(kOrdersSection) +
                                          "[stock.dat]\r\nFormat=FixedLength\r\nCol1=Code Char WIDTH 12abc\r\n");
  OdbcSession session("DSN=Orders");
  struct Case {
    const char* sql;
    const char* state;
  };
  for (const Case& c : std::vector<Case>{{"SELECT * FROM missing.csv", "42S02"},
                                          {"SELECT * FROM [../orders.csv]", "42S02"},
                                          {"SELECT * FROM [/etc/passwd]", "42S02"},
                                          {"DROP TABLE orders.csv", "42000"},
                                          {"SELECT Missing FROM orders.csv", "42S22"},
                                          {"SELECT * FROM orders.csv WHERE", "42000"},
                                          {"SELECT * FROM stock.dat", "HY000"}}) {
    const QueryResult result = RunQuery(session, c.sql);
    EXPECT_EQ(c.state, result.error.substr(0, 5)) << c.sql << ": " << result.error;
  }
  EXPECT_EQ("HY000 [Quorlin][Text Driver]Schema.INI [stock.dat] Col1: the width \"12abc\" is not a whole number",
            RunQuery(session, "SELECT * FROM stock.dat").error);
}

TEST_F(DriverManager, UnsupportedCallsAndArgumentsAreRefused) {
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(statement.Handle(), (SQLCHAR*)"SELECT * FROM orders.csv", SQL_NTS)));
  EXPECT_EQ(SQL_ERROR, SQLFetchScroll(statement.Handle(), SQL_FETCH_PRIOR, 0));
  EXPECT_EQ("HY106", statement.Error().substr(0, 5));
  SQLSMALLINT parameters = 0;
  EXPECT_EQ(SQL_ERROR, SQLNumParams(statement.Handle(), &parameters));
  EXPECT_EQ("IM001", statement.Error().substr(0, 5));
  ASSERT_EQ(SQL_SUCCESS, SQLFetch(statement.Handle()));
  char buffer[16];
  SQLLEN indicator = 0;
  EXPECT_EQ(SQL_ERROR, SQLGetData(statement.Handle(), 9, SQL_C_CHAR, buffer, sizeof buffer, &indicator));
  EXPECT_EQ("07009", statement.Error().substr(0, 5));
  OdbcStatement scrolling(session);
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, SQLSetStmtAttr(scrolling.Handle(), SQL_ATTR_CURSOR_TYPE,
                                                  reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0));
  EXPECT_EQ("01S02", scrolling.Error().substr(0, 5));
}

TEST_F(DriverManager, BoundColumnsFillWholeRowsets) {
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  SQLULEN fetched = 0;
  SQLUSMALLINT status[3] = {};
  SQLSetStmtAttr(statement.Handle(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(3), 0);
  SQLSetStmtAttr(statement.Handle(), SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
  SQLSetStmtAttr(statement.Handle(), SQL_ATTR_ROW_STATUS_PTR, status, 0);
  ASSERT_TRUE(SQL_SUCCEEDED(
      SQLExecDirect(statement.Handle(), (SQLCHAR*)"SELECT OrderNo, Customer FROM orders.csv", SQL_NTS)));
  SQLINTEGER numbers[3] = {};
  SQLLEN numberIndicators[3] = {};
  char names[3][5] = {};
  SQLLEN nameIndicators[3] = {};
  SQLBindCol(statement.Handle(), 1, SQL_C_SLONG, numbers, 0, numberIndicators);
  SQLBindCol(statement.Handle(), 2, SQL_C_CHAR, names, sizeof names[0], nameIndicators);
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, SQLFetch(statement.Handle()));
  EXPECT_EQ(3u, fetched);
  EXPECT_EQ((std::vector<int>{1, 2, 3}), (std::vector<int>{numbers[0], numbers[1], numbers[2]}));
  EXPECT_EQ((Strings{"Smit", "Jone", ""}), (Strings{names[0], names[1], names[2]}));
  EXPECT_EQ(SQL_NULL_DATA, nameIndicators[2]);
  EXPECT_EQ(SQL_ROW_SUCCESS_WITH_INFO, status[0]);
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, SQLFetch(statement.Handle()));
  EXPECT_EQ(2u, fetched);
  EXPECT_EQ((Strings{"'Lee", "Brow"}), (Strings{names[0], names[1]}));
  EXPECT_EQ(SQL_ROW_NOROW, status[2]);
  EXPECT_EQ(SQL_NO_DATA, SQLFetch(statement.Handle()));
}

TEST_F(DriverManager, CatalogFunctionsDescribeTheFolder) {
  WriteBytes(data.File("notes.txt"), "Note\r\n");
  WriteBytes(data.File("image.png"), "");
  OdbcSession session("DSN=Orders");
  OdbcStatement tables(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLTables(tables.Handle(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0)));
  Strings names;
  for (const auto& row : FetchAll(tables.Handle()).rows) names.push_back(row[2]);
  EXPECT_EQ((Strings{"notes.txt", "orders.csv"}), names);

  OdbcStatement columns(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLColumns(columns.Handle(), nullptr, 0, nullptr, 0, (SQLCHAR*)"orders.csv", SQL_NTS,
                                       nullptr, 0)));
  Rows described;
  for (const auto& row : FetchAll(columns.Handle()).rows) described.push_back({row[3], row[4], row[5], row[6]});
  EXPECT_EQ((Rows{{"OrderNo", "4", "INTEGER", "10"},
                  {"Customer", "12", "VARCHAR", "30"},
                  {"Amount", "8", "DOUBLE", "15"},
                  {"Placed", "91", "DATE", "10"},
                  {"Paid", "-7", "BIT", "1"}}),
            described);

  OdbcStatement types(session);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLGetTypeInfo(types.Handle(), SQL_TYPE_TIMESTAMP)));
  const QueryResult typeRows = FetchAll(types.Handle());
  ASSERT_EQ(1u, typeRows.rows.size());
  EXPECT_EQ((Strings{"TIMESTAMP", "93", "23"}),
            (Strings{typeRows.rows[0][0], typeRows.rows[0][1], typeRows.rows[0][2]}));
}

TEST_F(DriverManager, AConnectionNeedsAnExistingFolder) {
  EXPECT_TRUE(OdbcSession("DRIVER={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=" + data.Path()).Connected());
  sandbox.AddTextDataSource("Nowhere", data.File("missing"));
  const OdbcSession nowhere("DSN=Nowhere");
  EXPECT_FALSE(nowhere.Connected());
  EXPECT_EQ("08001 [Quorlin][Text Driver]The data source Nowhere names the folder " + data.File("missing") +
                ", which does not exist",
            nowhere.Error());
  EXPECT_EQ("08001", OdbcSession("DRIVER={Microsoft Text Driver (*.txt; *.csv)}").Error().substr(0, 5));
}

TEST_F(DriverManager, DbqNamesTheFolderAsOtherTextDriversTakeIt) {
  const OdbcSession session("DRIVER={Microsoft Text Driver (*.txt; *.csv)};DBQ=" + data.Path());
  ASSERT_TRUE(session.Connected()) << session.Error();
  EXPECT_EQ("", RunQuery(session, "SELECT * FROM [orders.csv]").error);
}

TEST_F(DriverManager, NothingInTheFolderIsEverWritten) {
  const auto before = FolderState();
  {
    OdbcSession session("DSN=Orders");
    RunQuery(session, "SELECT * FROM orders.csv");
    RunQuery(session, "SELECT * FROM missing.csv");
    OdbcStatement tables(session);
    SQLTables(tables.Handle(), nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0);
    FetchAll(tables.Handle());
  }
  EXPECT_EQ(before, FolderState());
  EXPECT_EQ(kOrders, ReadBytes(data.File("orders.csv")));
}

}  // namespace
}  // namespace quorlin::testing
