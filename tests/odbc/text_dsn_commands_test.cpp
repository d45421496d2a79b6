#include "odbc/text_dsn_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using Strings = std::vector<std::string>;

class TextDsnCommands : public ::testing::Test {
 protected:
  TextDsnRequest Request(const std::string& name = kDefaultDsnName) {
    return {data.Path(), name, "Orders folder", "*.ASC;*.CSV,*.TAB,*.TXT"};
  }

  testing::OdbcSandbox sandbox;
  testing::TempDir home;
  testing::TempDir data;
  TextDsnCreator creator = DialogDsnCreator(home.Path());
};

TEST_F(TextDsnCommands, AddWritesTheSystemDataSourceWithTheDialogsOptions) {
  const TextDsnOutcome outcome = AddTextDsn(creator, Request("My Text DSN"), DsnScope::System);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ("DSN Created", outcome.message);
  EXPECT_EQ(Strings{}, outcome.errorBoxes);
  EXPECT_EQ("asc,csv,tab,txt", outcome.extensions);
  EXPECT_EQ("My_Text_DSN", outcome.name);
  const std::string written = sandbox.SystemDataSources();
  EXPECT_NE(std::string::npos, written.find("[My_Text_DSN]"));
  EXPECT_NE(std::string::npos, written.find("Driver") );
  for (const std::string entry :
       {"Microsoft Text Driver (*.txt; *.csv)", "DefaultDir", "DriverID", "27", "Extensions", "asc,csv,tab,txt",
        "FIL", "ImplicitCommitSync", "SafeTransactions", "UserCommitSync", "Yes"}) {
    EXPECT_NE(std::string::npos, written.find(entry)) << entry;
  }
  EXPECT_NE(std::string::npos, written.find(data.Path()));
  EXPECT_EQ("", sandbox.UserDataSources());
}

TEST_F(TextDsnCommands, AddReplacesADataSourceOfTheTextDriver) {
  ASSERT_TRUE(AddTextDsn(creator, Request(), DsnScope::System).ok);
  testing::TempDir other;
  TextDsnRequest again = Request();
  again.folder = other.Path();
  EXPECT_TRUE(AddTextDsn(creator, again, DsnScope::System).ok);
  const std::string written = sandbox.SystemDataSources();
  EXPECT_NE(std::string::npos, written.find(other.Path()));
  EXPECT_EQ(std::string::npos, written.find(data.Path()));
}

TEST_F(TextDsnCommands, NeverRemovesOrReplacesAnotherDriversDataSource) {
  sandbox.AddForeignDataSource("Sales");
  const std::string before = sandbox.SystemDataSources();
  EXPECT_EQ("DSN Creation Failed", AddTextDsn(creator, Request("Sales"), DsnScope::System).message);
  EXPECT_EQ("DSN Configuration Failed", ConfigureTextDsn(creator, Request("Sales"), DsnScope::System).message);
  EXPECT_EQ("DSN Removal Failed", RemoveTextDsn(creator, "Sales", DsnScope::System).message);
  EXPECT_EQ(before, sandbox.SystemDataSources());
}

TEST_F(TextDsnCommands, TheSetupLibraryRefusesForeignDataSourcesToEveryCaller) {
  sandbox.AddForeignDataSource("Sales");
  const std::string before = sandbox.SystemDataSources();
  creator.dsnName = "Sales";
  for (const auto action : {DsnAction::RemoveSystem, DsnAction::AddSystem,
                            DsnAction::ConfigureSystem}) {
    creator.action = action;
    EXPECT_FALSE(creator.Execute());
  }
  EXPECT_EQ(before, sandbox.SystemDataSources());
}

TEST_F(TextDsnCommands, ConfigureRewritesOnlyAnExistingDataSource) {
  TextDsnOutcome outcome = ConfigureTextDsn(creator, Request(), DsnScope::System);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ("DSN Configuration Failed", outcome.message);
  EXPECT_EQ("*.ASC;*.CSV,*.TAB,*.TXT", outcome.extensions);

  ASSERT_TRUE(AddTextDsn(creator, Request(), DsnScope::System).ok);
  TextDsnRequest request = Request();
  request.extensions = "*.DAT";
  outcome = ConfigureTextDsn(creator, request, DsnScope::System);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ("DSN Reconfigured", outcome.message);
  EXPECT_EQ("dat", outcome.extensions);
  const std::string written = sandbox.SystemDataSources();
  EXPECT_NE(std::string::npos, written.find("1b,00,00,00"));
  EXPECT_NE(std::string::npos, written.find("dat"));
}

TEST_F(TextDsnCommands, RemoveTakesAwayOnlyAnExistingDataSource) {
  EXPECT_EQ("DSN Removal Failed", RemoveTextDsn(creator, kDefaultDsnName, DsnScope::System).message);
  ASSERT_TRUE(AddTextDsn(creator, Request(), DsnScope::System).ok);
  const TextDsnOutcome outcome = RemoveTextDsn(creator, kDefaultDsnName, DsnScope::System);
  EXPECT_TRUE(outcome.ok);
  EXPECT_EQ("DSN Removed", outcome.message);
  EXPECT_EQ(std::string::npos, sandbox.SystemDataSources().find("[MyTextDSN]"));
}

TEST_F(TextDsnCommands, ABlankNameIsRefusedOnceAndNothingIsWritten) {
  const TextDsnOutcome outcome = AddTextDsn(creator, Request(""), DsnScope::System);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ("DSN Creation Failed", outcome.message);
  EXPECT_EQ(Strings{kBlankNameMessage}, outcome.errorBoxes);
  EXPECT_EQ("", sandbox.SystemDataSources());
}

TEST_F(TextDsnCommands, AFolderThatWouldAddLinesIsRefusedBeforeAnythingIsWritten) {
  TextDsnRequest request = Request();
  request.folder = data.Path() + "/x\n[Injected]\nDriver=evil.so";
  for (const TextDsnOutcome& outcome : {AddTextDsn(creator, request, DsnScope::System),
                                        ConfigureTextDsn(creator, request, DsnScope::System)}) {
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.refused);
    EXPECT_EQ(Strings{"The folder must not hold a line break or another control character"}, outcome.errorBoxes);
  }
  EXPECT_TRUE(RemoveTextDsn(creator, "a]b", DsnScope::System).refused);
  EXPECT_EQ("", sandbox.SystemDataSources());

  // The setup library refuses it too, whoever calls the installer.
  creator.action = DsnAction::AddSystem;
  creator.dsnName = "Injected";
  creator.dataFolder = request.folder;
  EXPECT_FALSE(creator.Execute());
  EXPECT_EQ("", sandbox.SystemDataSources());
}

TEST_F(TextDsnCommands, AddAndRemoveKeepEveryOtherByteOfTheFile) {
  const std::string handWritten =
      "; machine sources\n[ODBC Data Sources]\nSales = SQLite3\n\n[Sales]\nDriver  = SQLite3\n; the book\n"
      "Database = /tmp/keep.db\n";
  sandbox.WriteSystemDataSources(handWritten);
  ASSERT_TRUE(AddTextDsn(creator, Request(), DsnScope::System).ok);
  const std::string added = sandbox.SystemDataSources();
  EXPECT_EQ(0u, added.find("; machine sources\n[ODBC Data Sources]\nSales = SQLite3\n"
                           "MyTextDSN=Microsoft Text Driver (*.txt; *.csv)\n\n[Sales]\nDriver  = SQLite3\n"))
      << added;
  ASSERT_TRUE(RemoveTextDsn(creator, kDefaultDsnName, DsnScope::System).ok);
  EXPECT_EQ(handWritten, sandbox.SystemDataSources());
}

TEST_F(TextDsnCommands, UserScopeWritesTheUsersOwnFile) {
  ASSERT_TRUE(AddTextDsn(creator, Request(), DsnScope::User).ok);
  EXPECT_NE(std::string::npos, sandbox.UserDataSources().find("[MyTextDSN]"));
  EXPECT_EQ(std::string::npos, sandbox.SystemDataSources().find("[MyTextDSN]"));
  EXPECT_TRUE(RemoveTextDsn(creator, kDefaultDsnName, DsnScope::User).ok);
  EXPECT_EQ(std::string::npos, sandbox.UserDataSources().find("[MyTextDSN]"));
}

TEST(DsnScope, SystemWhenTheSystemFileCanBeWrittenElseUser) {
  const testing::OdbcSandbox sandbox;
  EXPECT_EQ(testing::OdbcSandbox::Folder() + "/odbc.ini", SystemDataSourceFile());
  testing::TempDir folder;
  EXPECT_EQ(DsnScope::System, ChooseDsnScope(folder.File("odbc.ini")));
  testing::WriteBytes(folder.File("odbc.ini"), "");
  EXPECT_EQ(DsnScope::System, ChooseDsnScope(folder.File("odbc.ini")));
  EXPECT_EQ(DsnScope::User, ChooseDsnScope(folder.File("missing/odbc.ini")));
}

TEST(DsnTableList, ListsSectionsWhoseExtensionIsInTheBox) {
  testing::TempDir folder;
  testing::WriteBytes(folder.File("Schema.INI"), "[b.csv]\nCol1=a Char\n[A.TXT]\n[c.db]\n[d.dat]\n");
  EXPECT_EQ((Strings{"A.TXT", "b.csv"}), DsnTableList(folder.Path(), kDefaultDsnExtensions));
  EXPECT_EQ((Strings{"c.db"}), DsnTableList(folder.Path(), "*.db"));
  EXPECT_EQ(Strings{}, DsnTableList(folder.Path(), "db"));
  testing::TempDir empty;
  EXPECT_EQ(Strings{}, DsnTableList(empty.Path(), kDefaultDsnExtensions));
}

TEST(DsnBoxes, NameAndExtensionsAreCleanedAsTheDialogDoes) {
  EXPECT_EQ("My_Text__DSN_", DsnNameFromBox("My Text  DSN "));
  EXPECT_EQ("asc,csv,txt", CleanExtensions("*.ASC;*.Csv,*.TXT"));
  EXPECT_EQ("csv,", CleanExtensions("CSV;"));
}

}  // namespace
}  // namespace quorlin
