#include "odbc/text_dsn_creator.h"

#include <gtest/gtest.h>

#include <string>

#include "odbc/driver_registration.h"
#include "odbc/odbc_driver_table.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using namespace std::string_literals;

TTextDSNCreator Creator() {
  TTextDSNCreator creator("/home/user/");
  creator.DSNNameOrAlias = "MyTextDSN";
  creator.DSNUserDescription = "desc";
  creator.DatabaseFilePath = "/data/";
  creator.FileExtensions = "*.CSV,*.Txt";
  creator.Password = "secret";
  creator.WorkingDir = "/work/";
  return creator;
}

TEST(AttributeList, AddSendsEveryPairInOrder) {
  const std::string expected =
      "DSN=MyTextDSN\0Driver=/lib/x.so\0DefaultDir=/data/\0DriverID=27\0Description=desc\0"
      "Extensions=CSV,Txt\0FIL=text\0UID=Admin\0ImplicitCommitSync=\0MaxBufferSize=2048\0"
      "MaxScanRows=25\0PageTimeout=5\0ReadOnly=0\0Exclusive=0\0SafeTransactions=0\0Threads=3\0"
      "UserCommitSync=No\0\0"s;
  EXPECT_SAME_BYTES(expected, AttributeList(Creator(), "/lib/x.so"));
}

TEST(AttributeList, ConfigureDiffersOnlyInTheDriverId) {
  TTextDSNCreator creator = Creator();
  creator.Action = TDSNExecuteAction::ADD_SYS_DSN;
  std::string add = AttributeList(creator, "/lib/x.so");
  creator.Action = TDSNExecuteAction::CONFIG_SYS_DSN;
  const std::string configure = AttributeList(creator, "/lib/x.so");
  add.replace(add.find("DriverID=27"), 11, "DriverID=1b,00,00,00");
  EXPECT_SAME_BYTES(add, configure);
}

TEST(AttributeList, RemovalSendsTheNameAlone) {
  TTextDSNCreator creator = Creator();
  for (const auto action : {TDSNExecuteAction::REMOVE_DSN, TDSNExecuteAction::REMOVE_SYS_DSN,
                            TDSNExecuteAction::REMOVE_DEFAULT_DSN}) {
    creator.Action = action;
    EXPECT_SAME_BYTES("DSN=MyTextDSN\0\0"s, AttributeList(creator, "/lib/x.so"));
  }
}

TEST(AttributeList, OptionsFollowTheProperties) {
  TTextDSNCreator creator = Creator();
  creator.optImplitCommitSync = "Yes";
  creator.optDSNReadOnly = true;
  creator.optExclusive = true;
  creator.optSafeTransactions = 5;
  creator.optUserCommitSync = true;
  creator.DSNNameOrAlias = " ";
  const std::string list = AttributeList(creator, "/lib/x.so");
  EXPECT_EQ(0u, list.find("DSN= \0"s));
  EXPECT_NE(std::string::npos, list.find("ImplicitCommitSync=Yes\0"s));
  EXPECT_NE(std::string::npos, list.find("ReadOnly=1\0Exclusive=1\0SafeTransactions=5\0"s));
  EXPECT_NE(std::string::npos, list.find("UserCommitSync=Yes\0\0"s));
  EXPECT_EQ(std::string::npos, list.find("secret"));
  EXPECT_EQ(std::string::npos, list.find("/work/"));
}

TEST(MaxBufferSize, TakesMultiplesOf512AndResetsAnythingElse) {
  TTextDSNCreator creator("/");
  for (const int value : {0, 512, 4096, -512}) {
    EXPECT_EQ(std::nullopt, creator.SetOptMaxBufferSize(value));
    EXPECT_EQ(value, creator.optMaxBufferSize());
  }
  EXPECT_EQ("Value of optMaxBufferSize MUST be a multiple of 512! Resetting value to default of 2048.",
            creator.SetOptMaxBufferSize(1000));
  EXPECT_EQ(2048, creator.optMaxBufferSize());
}

TEST(Execute, RefusesABlankNameWithoutCallingTheInstaller) {
  testing::OdbcSandbox sandbox;
  TTextDSNCreator creator = Creator();
  creator.DSNNameOrAlias.clear();
  creator.WorkingDir.clear();
  creator.DatabaseFilePath = "/data/file.csv";
  EXPECT_FALSE(creator.Execute());
  EXPECT_EQ(kBlankNameMessage, creator.LastError());
  EXPECT_EQ("/data/", creator.WorkingDir);
  EXPECT_EQ("", sandbox.SystemDataSources());
}

TEST(DriverTable, NamesSixDriversAndNothingElse) {
  EXPECT_EQ("Microsoft Text Driver (*.txt; *.csv)", OdbcDriverKind(3).registeredName);
  EXPECT_EQ("text", OdbcDriverKind(3).shortName);
  EXPECT_EQ("MS Acess", OdbcDriverKind(1).shortName);
  EXPECT_EQ("FoxPro Tables", OdbcDriverKind(6).shortName);
  for (const int index : {0, 7, -1}) {
    EXPECT_EQ("", OdbcDriverKind(index).registeredName);
    EXPECT_EQ("", OdbcDriverKind(index).shortName);
  }
}

TEST(DriverRegistration, NeedsNoUsageCountAndKeepsLongPathsWhole) {
  testing::OdbcSandbox sandbox;
  const std::string longPath = "/opt/" + std::string(200, 'd') + "/libquorlin-odbc-text.so";
  sandbox.WriteDrivers("Driver=" + longPath + "\nSetup=" + longPath + "\nAPILevel=12\nFileUsage=2\n");
  const std::optional<DriverRegistration> registration = ReadDriverRegistration(kTextDriverName);
  ASSERT_TRUE(registration);
  EXPECT_EQ(std::nullopt, registration->usageCount);
  EXPECT_EQ(longPath, registration->driver);
  EXPECT_EQ(longPath, registration->setup);
  EXPECT_EQ("1", registration->apiLevel);

  sandbox.WriteDrivers("Driver=/x.so\nUsageCount=3\n");
  EXPECT_EQ(3, ReadDriverRegistration(kTextDriverName)->usageCount);
  EXPECT_EQ(std::nullopt, ReadDriverRegistration("No Such Driver"));
}

TEST(Availability, NamesWhatIsMissing) {
  testing::OdbcSandbox sandbox;
  EXPECT_EQ(OdbcAvailability::Ready, CheckTextDriverAvailability());
  const OdbcAvailability noManager = CheckTextDriverAvailability("libno-such-odbc.so.9");
  EXPECT_EQ(OdbcAvailability::NoDriverManager, noManager);
  EXPECT_EQ("Can't find ODBC on your system\nPlease check and confirm ODBC is loaded", AvailabilityMessage(noManager));
  sandbox.WriteDrivers("", false);
  const OdbcAvailability noDriver = CheckTextDriverAvailability();
  EXPECT_EQ(OdbcAvailability::NoTextDriver, noDriver);
  EXPECT_EQ("Can't find Text ODBC Driver\nPlease check it has been installed", AvailabilityMessage(noDriver));
}

}  // namespace
}  // namespace quorlin
