#include <nlohmann/json.hpp>

#include "cli_run.h"
#include "support/odbc_sandbox.h"

namespace quorlin::testing {
namespace {

constexpr const char* kSchema =
    "[orders.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=OrderNo Integer\r\nCol2=Customer Char WIDTH 20\r\n"
    "[notes.dat]\r\nCol1=Text Char\r\n";

class DsnCommand : public CliFileTest {
 protected:
  void SetUp() override {
    UseData("orders.csv", "OrderNo,Customer\r\n1,Smith\r\n2,\r\n");
    WriteBytes(dir_.File("Schema.INI"), kSchema);
  }

  OdbcSandbox sandbox;
};

TEST_F(DsnCommand, AddListOpenConfigureAndRemoveAsTheDialogDoes) {
  CliResult result = Run({"dsn", "add", dir_.Path(), "--name", "Order Data"});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("DSN Created\n", result.err);
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("[Order_Data]"));

  result = Run({"dsn", "tables", dir_.Path()});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("orders.csv\n", result.out);

  result = Run({"dsn", "open", "orders.csv", "--name", "Order Data"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("OrderNo\tCustomer\n1\tSmith\n2\t\n", result.out);

  result = Run({"dsn", "open", "orders.csv", "--name", "Order_Data", "--json"});
  EXPECT_EQ(nlohmann::json::parse(R"({"columns":[{"name":"OrderNo","type":"INTEGER"},{"name":"Customer","type":"VARCHAR"}],
                                      "rows":[["1","Smith"],["2",null]]})"),
            nlohmann::json::parse(result.out));

  result = Run({"dsn", "open", "--name", "Order Data", "--sql",
                "SELECT Customer, COUNT(*) AS Orders FROM orders.csv GROUP BY Customer ORDER BY Orders DESC, 1"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Customer\tOrders\n\t1\nSmith\t1\n", result.out);
  result = Run({"dsn", "open", "--name", "Order Data", "--sql", "DELETE FROM orders.csv"});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ("[Quorlin][Text Driver]Only statements that read are run: the text driver never writes its files\n",
            result.err);

  result = Run({"dsn", "config", dir_.Path(), "--name", "Order Data", "--extensions", "*.DAT"});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("DSN Reconfigured\n", result.err);
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("Extensions=dat"));

  result = Run({"dsn", "remove", "--name", "Order Data"});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("DSN Removed\n", result.err);
  result = Run({"dsn", "remove", "--name", "Order Data"});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ("DSN Removal Failed\n", result.err);
}

TEST_F(DsnCommand, RefusalsExitWithTheirStatus) {
  sandbox.AddForeignDataSource("Sales");
  CliResult result = Run({"dsn", "add", dir_.Path(), "--name", "Sales"});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ("DSN Creation Failed\n", result.err);

  result = Run({"dsn", "add", dir_.Path(), "--name", ""});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(
      "Property 'DSNNameOrAlias' must not be blank\nProperty 'DSNNameOrAlias' must not be blank\nDSN Creation Failed\n",
      result.err);

  ASSERT_EQ(0, Run({"dsn", "add", dir_.Path()}).exitCode);
  result = Run({"dsn", "open", "missing.csv"});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ("[Quorlin][Text Driver]Table 'missing.csv' was not found in " + dir_.Path() + "\n", result.err);

  sandbox.WriteDrivers("", false);
  result = Run({"dsn", "add", dir_.Path()});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ("Can't find Text ODBC Driver\nPlease check it has been installed\n", result.err);
}

}  // namespace
}  // namespace quorlin::testing
