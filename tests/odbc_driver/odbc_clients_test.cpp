// isql and Python's pyodbc, each in its own process, read what the program's preview shows.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "odbc_session.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kPyodbcRows = R"(
import json, sys, pyodbc
def shown(value):
    if value is None: return "NULL"
    if isinstance(value, bool): return str(int(value))
    text = repr(value) if isinstance(value, float) else str(value)
    return text[:-2] if isinstance(value, float) and text.endswith(".0") else text
connection = pyodbc.connect("DSN=Clients")
cursor = connection.cursor()
cursor.execute(sys.argv[1])
rows = []
while True:
    batch = cursor.fetchmany(2)
    if not batch: break
    rows += [[shown(value) for value in row] for row in batch]
print(json.dumps({"columns": [d[0] for d in cursor.description], "rows": rows}))
connection.close()
)";

class OdbcClients : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("orders.csv"),
               "OrderNo,Customer,Amount,Placed,Paid\r\n1,Smith,12.50,01/15/2002,Yes\r\n"
               "2,\"Jones, A\" ,7,2003-02-01,No\r\n3,,,,\r\n4, 'Lee' , -1e2,12/31/1999,off\r\n");
    WriteBytes(data.File("Schema.INI"),
               "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=OrderNo Integer\r\n"
               "Col2=Customer Char WIDTH 30\r\nCol3=Amount Double\r\nCol4=Placed Date\r\nCol5=Paid Bit\r\n");
    WriteBytes(data.File("script.py"), kPyodbcRows);
    sandbox.AddTextDataSource("Clients", data.Path());
  }

  Rows Expected() {
    using driver::ColumnKind;
    return PreviewRows(data.File("orders.csv"), ",", true,
                       {ColumnKind::Integer, ColumnKind::Text, ColumnKind::Double, ColumnKind::Date, ColumnKind::Bit});
  }

  OdbcSandbox sandbox;
  TempDir data;
};

TEST_F(OdbcClients, IsqlShowsThePreviewsRows) {
  const CommandResult result =
      RunOdbcClient("echo 'SELECT * FROM [orders.csv]' | isql -b -c -d'|' Clients 2>&1");
  ASSERT_EQ(0, result.exitCode) << result.out;
  const Rows rows = BarRows(result.out);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ((std::vector<std::string>{"OrderNo", "Customer", "Amount", "Placed", "Paid"}), rows.front());
  Rows expected = Expected();
  for (auto& row : expected) {
    for (auto& value : row) {
      if (value == "NULL") value.clear();  // isql prints NULL as nothing between the delimiters
    }
  }
  EXPECT_EQ(expected, Rows(rows.begin() + 1, rows.end()));
}

TEST_F(OdbcClients, PyodbcFetchesThePreviewsRowsInBatches) {
  const CommandResult result = RunOdbcClient("/usr/bin/python3 " + ShellQuoted(data.File("script.py")) +
                                          " 'SELECT * FROM \"orders\".\"csv\"'");
  ASSERT_EQ(0, result.exitCode) << result.out;
  const nlohmann::json shown = nlohmann::json::parse(result.out);
  EXPECT_EQ((std::vector<std::string>{"OrderNo", "Customer", "Amount", "Placed", "Paid"}),
            shown["columns"].get<std::vector<std::string>>());
  EXPECT_EQ(Expected(), shown["rows"].get<Rows>());
}

TEST_F(OdbcClients, PyodbcSeesTheDriversErrors) {
  const CommandResult result =
      RunOdbcClient("/usr/bin/python3 " + ShellQuoted(data.File("script.py")) + " 'SELECT * FROM missing.csv' 2>&1");
  EXPECT_NE(0, result.exitCode);
  EXPECT_NE(std::string::npos, result.out.find("42S02"));
  EXPECT_NE(std::string::npos, result.out.find("[Quorlin][Text Driver]Table 'missing.csv' was not found"));
}

constexpr const char* kPyodbcWideText = R"(
import json, pyodbc
connection = pyodbc.connect("DSN=Clients")
cursor = connection.cursor()
cursor.execute("SELECT * FROM [größen.csv]")
shown = {"names": [d[0] for d in cursor.description], "rows": [list(row) for row in cursor.fetchall()]}
try:
    cursor.execute("SELECT * FROM [fehlt_ü.csv]")
except pyodbc.Error as error:
    shown["message"] = error.args[1]
shown["tables"] = sorted(row.table_name for row in cursor.tables())
shown["columns"] = [row.column_name for row in cursor.columns(table="größen.csv")]
shown["driver"] = connection.getinfo(pyodbc.SQL_DRIVER_NAME)
print(json.dumps(shown))
connection.close()
)";

TEST_F(OdbcClients, PyodbcGetsNonAsciiNamesAndMessagesWhole) {
  WriteBytes(data.File("größen.csv"), "Menge,Größe,Straße\r\n1,groß,Hauptstraße\r\n");
  WriteBytes(data.File("wide.py"), kPyodbcWideText);
  const CommandResult result = RunOdbcClient("/usr/bin/python3 " + ShellQuoted(data.File("wide.py")) + " 2>&1");
  ASSERT_EQ(0, result.exitCode) << result.out;
  const nlohmann::json shown = nlohmann::json::parse(result.out);
  const std::vector<std::string> names{"Menge", "Größe", "Straße"};
  EXPECT_EQ(names, shown["names"].get<std::vector<std::string>>());
  EXPECT_EQ(names, shown["columns"].get<std::vector<std::string>>());
  EXPECT_EQ((Rows{{"1", "groß", "Hauptstraße"}}), shown["rows"].get<Rows>());
  EXPECT_EQ((std::vector<std::string>{"größen.csv", "orders.csv"}), shown["tables"].get<std::vector<std::string>>());
  const std::string message = shown["message"].get<std::string>();
  EXPECT_EQ(0u, message.find("[42S02] [Quorlin][Text Driver]Table 'fehlt_ü.csv' was not found in " + data.Path()))
      << message;
  EXPECT_EQ(std::string::npos, message.find('\0')) << message;
  EXPECT_EQ("libquorlin-odbc-text.so", shown["driver"].get<std::string>());
}

}  // namespace
}  // namespace quorlin::testing
