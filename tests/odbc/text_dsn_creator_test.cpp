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

TextDsnCreator Creator() {
  TextDsnCreator creator("/home/user/");
  creator.dsnName = "MyTextDSN";
  creator.description = "desc";
  creator.dataFolder = "/data/";
  creator.fileExtensions = "*.CSV,*.Txt";
  creator.password = "secret";
  creator.workingFolder = "/work/";
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
  TextDsnCreator creator = Creator();
  creator.action = DsnAction::AddSystem;
  std::string add = AttributeList(creator, "/lib/x.so");
  creator.action = DsnAction::ConfigureSystem;
  const std::string configure = AttributeList(creator, "/lib/x.so");
  add.replace(add.find("DriverID=27"), 11, "DriverID=1b,00,00,00");
  EXPECT_SAME_BYTES(add, configure);
}

TEST(AttributeList, RemovalSendsTheNameAlone) {
  TextDsnCreator creator = Creator();
  for (const auto action : {DsnAction::RemoveUser, DsnAction::RemoveSystem,
                            DsnAction::RemoveDefault}) {
    creator.action = action;
    EXPECT_SAME_BYTES("DSN=MyTextDSN\0\0"s, AttributeList(creator, "/lib/x.so"));
  }
}

TEST(AttributeList, OptionsFollowTheProperties) {
  TextDsnCreator creator = Creator();
  creator.implicitCommitSync = "Yes";
  creator.readOnly = true;
  creator.exclusive = true;
  creator.safeTransactions = 5;
  creator.userCommitSync = true;
  creator.dsnName = " ";
  const std::string list = AttributeList(creator, "/lib/x.so");
  EXPECT_EQ(0u, list.find("DSN= \0"s));
  EXPECT_NE(std::string::npos, list.find("ImplicitCommitSync=Yes\0"s));
  EXPECT_NE(std::string::npos, list.find("ReadOnly=1\0Exclusive=1\0SafeTransactions=5\0"s));
  EXPECT_NE(std::string::npos, list.find("UserCommitSync=Yes\0\0"s));
  EXPECT_EQ(std::string::npos, list.find("secret"));
  EXPECT_EQ(std::string::npos, list.find("/work/"));
}

TEST(MaxBufferSize, TakesMultiplesOf512AndResetsAnythingElse) {
  TextDsnCreator creator("/");
  for (const int value : {0, 512, 4096, -512}) {
    EXPECT_EQ(std::nullopt, creator.SetMaxBufferSize(value));
    EXPECT_EQ(value, creator.MaxBufferSize());
  }
  EXPECT_EQ("Value of optMaxBufferSize MUST be a multiple of 512! Resetting value to default of 2048.",
            creator.SetMaxBufferSize(1000));
  EXPECT_EQ(2048, creator.MaxBufferSize());
}

TEST(Execute, RefusesABlankNameWithoutCallingTheInstaller) {
  testing::OdbcSandbox sandbox;
  TextDsnCreator creator = Creator();
  creator.dsnName.clear();
  creator.workingFolder.clear();
  creator.dataFolder = "/data/file.csv";
  EXPECT_FALSE(creator.Execute());
  EXPECT_EQ(kBlankNameMessage, creator.LastError());
  EXPECT_EQ("/data/", creator.workingFolder);
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
