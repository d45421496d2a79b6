#include <algorithm>
#include <filesystem>

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

  result = Run({"dsn", "open", "--name", "Order Data", "--sql",
                "SELECT Customer, COUNT(*) AS Orders FROM orders.csv GROUP BY Customer ORDER BY Orders DESC, 1"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("Customer\tOrders\n\t1\nSmith\t1\n", result.out);
  result = Run({"dsn", "open", "--name", "Order Data", "--sql", "DELETE FROM orders.csv"});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("[Quorlin][Text Driver]Only statements that read are run: the text driver never writes its files"),
            result.err);

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
  EXPECT_EQ(Said("Property 'DSNNameOrAlias' must not be blank") + Said("DSN Creation Failed"), result.err);

  ASSERT_EQ(0, Run({"dsn", "add", dir_.Path()}).exitCode);
  result = Run({"dsn", "open", "missing.csv"});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("[Quorlin][Text Driver]Table 'missing.csv' was not found in " + dir_.Path()), result.err);

  sandbox.WriteDrivers("", false);
  result = Run({"dsn", "add", dir_.Path()});
  EXPECT_EQ(3, result.exitCode);
  EXPECT_EQ(Said("Can't find Text ODBC Driver\nPlease check it has been installed"), result.err);
}

TEST_F(DsnCommand, OpenKeepsTheBytesAfterANulInAValue) {
  const std::string value("Sm\0ith", 6);
  WriteBytes(dir_.File("nul.csv"), "OrderNo,Customer\r\n1," + value + "\r\n");
  ASSERT_EQ(0, Run({"dsn", "add", dir_.Path()}).exitCode);
  const CliResult result = Run({"dsn", "open", "nul.csv"});
  EXPECT_EQ(0, result.exitCode) << result.err;
  EXPECT_EQ("OrderNo\tCustomer\n1\t" + value + "\n", result.out);
}

TEST_F(DsnCommand, NamesAndFoldersThatWouldAddLinesAreRefusedWithStatusTwo) {
  CliResult result = Run({"dsn", "add", dir_.Path(), "--name", "a]b"});
  EXPECT_EQ(2, result.exitCode);
  EXPECT_EQ(Said("The data source name must not hold [, ] or ="), result.err);

  const std::string injected = dir_.File("x\n[Injected]\nDriver=evil.so");
  ASSERT_TRUE(std::filesystem::create_directory(injected));
  result = Run({"dsn", "add", injected, "--name", "Injected"});
  EXPECT_EQ(2, result.exitCode);
  EXPECT_EQ(Said("The folder must not hold a line break or another control character"), result.err);
  EXPECT_EQ("", sandbox.SystemDataSources());
}

TEST_F(DsnCommand, EightAddsAtOnceAllLandAndKeepEveryOtherByte) {
  const std::string handWritten =
      "; shared by every program of this machine\n[ODBC Data Sources]\nSales = SQLite3\n\n"
      "[Sales]\nDriver = SQLite3\n# the ledger\nDatabase = /tmp/keep.db\n\n";
  sandbox.WriteSystemDataSources(handWritten);
  std::string script;
  for (int k = 1; k <= 8; ++k) {
    const std::string n = std::to_string(k);
    script += "( " + ShellQuoted(QUORLIN_CLI_PATH) + " dsn add " + ShellQuoted(dir_.Path()) + " --name Source" + n +
              " 2>&1; echo \"exit $?\" ) > " + ShellQuoted(dir_.File("add" + n + ".log")) + " & ";
  }
  ASSERT_EQ(0, RunOdbcClient(script + "wait").exitCode);

  std::string written = sandbox.SystemDataSources();
  const std::string folder = dir_.Path().ends_with('/') ? dir_.Path() : dir_.Path() + "/";
  for (int k = 1; k <= 8; ++k) {
    const std::string name = "Source" + std::to_string(k);
    EXPECT_EQ(Said("DSN Created") + "exit 0\n", ReadBytes(dir_.File("add" + std::to_string(k) + ".log"))) << name;
    EXPECT_NE(std::string::npos, written.find("[" + name + "]\nDriver=Microsoft Text Driver (*.txt; *.csv)\nDefaultDir=" +
                                              folder + "\n"))
        << name << " in\n" << written;
    const std::size_t listed = written.find(name + "=Microsoft Text Driver (*.txt; *.csv)\n");
    ASSERT_NE(std::string::npos, listed) << name;
    written.erase(listed, written.find('\n', listed) + 1 - listed);
    const std::size_t section = written.find("[" + name + "]\n");
    written.erase(section, std::min(written.find("\n[", section) + 1, written.size()) - section);
  }
  EXPECT_EQ(handWritten, written);
}

}  // namespace
}  // namespace quorlin::testing
