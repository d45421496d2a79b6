// What the driver refuses to read, and says why: a Schema.INI it cannot read, a file swapped for
// a link after it was checked, more columns than a statement can have, an endless record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "odbc_session.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

class TableFileLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(data.File("orders.csv"), "OrderNo,Customer\r\n1,Smith\r\n");
    sandbox.AddTextDataSource("Orders", data.Path());
  }
  OdbcSandbox sandbox;
  TempDir data;
};

TEST_F(TableFileLimits, ASchemaIniThatCannotBeReadIsAFailureWithItsCause) {
  std::filesystem::create_directory(data.File("Schema.INI"));
  OdbcSession session("DSN=Orders");
  const QueryResult result = RunQuery(session, "SELECT * FROM orders.csv");
  EXPECT_EQ("HY000 [Quorlin][Text Driver]Cannot read " + data.File("Schema.INI") + ": it is a folder", result.error);
}

TEST_F(TableFileLimits, AFileSwappedForALinkAfterItWasCheckedIsNeverRead) {
  TempDir outside;
  WriteBytes(outside.File("secret.csv"), "OrderNo,Customer\r\n666,Secret\r\n");
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  ASSERT_EQ(SQL_SUCCESS, SQLPrepare(statement.Handle(), (SQLCHAR*)"SELECT * FROM orders.csv", SQL_NTS));
  std::filesystem::remove(data.File("orders.csv"));
  std::filesystem::create_symlink(outside.File("secret.csv"), data.File("orders.csv"));
  EXPECT_EQ(SQL_ERROR, SQLExecute(statement.Handle()));
  EXPECT_EQ("42S02 [Quorlin][Text Driver]Table 'orders.csv' leads out of the data source's folder", statement.Error());
}

TEST_F(TableFileLimits, MoreColumnsThanAStatementCanHaveAreRefusedWhenPrepared) {
  std::string wide;
  for (int k = 0; k < 40000; ++k) wide += "c" + std::to_string(k) + ",";
  WriteBytes(data.File("wide.csv"), wide + "\r\n");
  std::string broad;
  for (int k = 0; k < 3000; ++k) broad += "c" + std::to_string(k) + ",";
  broad.pop_back();
  WriteBytes(data.File("broad.csv"), broad + "\r\n");
  OdbcSession session("DSN=Orders");
  OdbcStatement statement(session);
  EXPECT_EQ(SQL_ERROR, SQLPrepare(statement.Handle(), (SQLCHAR*)"SELECT * FROM wide.csv", SQL_NTS));
  EXPECT_EQ("HY000 [Quorlin][Text Driver]Line 1 of " + data.File("wide.csv") +
                " has more than 32767 fields, more than a table can have",
            statement.Error());
  EXPECT_EQ("HY000 [Quorlin][Text Driver]Table broad.csv has 3000 columns; a statement can use at most 2000",
            RunQuery(session, "SELECT * FROM broad.csv").error);
}

TEST_F(TableFileLimits, ARecordPast64MiBIsAnErrorNamingFileAndLine) {
  {
    std::ofstream big(data.File("big.csv"), std::ios::binary);
    big << "Text\r\nshort\r\n" << std::string((64 << 20) + 10, 'x') << "\r\nlast\r\n";
  }
  OdbcSession session("DSN=Orders");
  const QueryResult result = RunQuery(session, "SELECT * FROM big.csv");
  EXPECT_EQ((std::vector<std::vector<std::string>>{{"short"}}), result.rows);
  EXPECT_EQ("HY000 [Quorlin][Text Driver]Line 3 of " + data.File("big.csv") +
                " is longer than 64 MiB, more than one record can be",
            result.error);
}

}  // namespace
}  // namespace quorlin::testing
