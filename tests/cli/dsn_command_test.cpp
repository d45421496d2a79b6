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
  EXPECT_EQ(Said("DSN Created"), result.err);
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

  result = Run({"dsn", "config", dir_.Path(), "--name", "Order Data", "--extensions", "*.DAT"});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ(Said("DSN Reconfigured"), result.err);
  EXPECT_NE(std::string::npos, sandbox.SystemDataSources().find("Extensions=dat"));

  result = Run({"dsn", "remove", "--name", "Order Data"});
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ(Said("DSN Removed"), result.err);
  result = Run({"dsn", "remove", "--name", "Order Data"});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(Said("DSN Removal Failed"), result.err);
}

TEST_F(DsnCommand, RefusalsExitWithTheirStatus) {
  sandbox.AddForeignDataSource("Sales");
  CliResult result = Run({"dsn", "add", dir_.Path(), "--name", "Sales"});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(Said("DSN Creation Failed"), result.err);

  result = Run({"dsn", "add", dir_.Path(), "--name", ""});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_EQ(
      Said("Property 'DSNNameOrAlias' must not be blank") + Said("Property 'DSNNameOrAlias' must not be blank") +
          Said("DSN Creation Failed"),
      result.err);

  ASSERT_EQ(0, Run({"dsn", "add", dir_.Path()}).exitCode);
  result = Run({"dsn", "open", "missing.csv"});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("[Quorlin][Text Driver]Table 'missing.csv' was not found in " + dir_.Path()), result.err);

  sandbox.WriteDrivers("", false);
  result = Run({"dsn", "add", dir_.Path()});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("Can't find Text ODBC Driver\nPlease check it has been installed"), result.err);
}

}  // namespace
}  // namespace quorlin::testing
