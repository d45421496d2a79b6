// The window-free steps of the update check: the proxy, the file's place, its verdict, messages.
#include "extras/update_check.h"

#include <gtest/gtest.h>

#include <filesystem>


#include "extras/transfer_text.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(ProxySetting, TrimsTheHostAndRefusesBlanksAndPortsOutOfRange) {
  struct Row {
    const char* host;
    long port;
    const char* proxy;
    const char* error;
  };
  const char* const kHostError = "The proxy server name must not be empty or contain blanks.";
  const char* const kPortError = "The proxy port must be a number from 1 to 65535.";
  const Row rows[] = {{"  proxy.lan \t", 8080, "proxy.lan:8080", ""},
                      {"127.0.0.1", 65535, "127.0.0.1:65535", ""},
                      {"my proxy", 8080, "", kHostError},
                      {"   ", 8080, "", kHostError},
                      {"proxy.lan", 0, "", kPortError},
                      {"proxy.lan", 65536, "", kPortError}};
  for (const Row& row : rows) {
    const ProxyChoice choice = ProxySetting(row.host, row.port);
    EXPECT_EQ(row.proxy, choice.proxy) << row.host << ":" << row.port;
    EXPECT_EQ(row.error, choice.error) << row.host << ":" << row.port;
  }
}

TEST(PlaceVersionFile, UsesTheProgramFolderElseTheCacheAndNeverASettingsFile) {
  TempDir program;
  TempDir home;
  EXPECT_EQ(program.File("v.ini"), PlaceVersionFile(program.Path(), home.File("c/"), "v.ini").path);
  // A program folder that is no folder to write in: the cache folder is made and used.
  EXPECT_EQ(home.File("c/quorlin/v.ini"),
            PlaceVersionFile(program.File("missing/"), home.File("c/quorlin"), "v.ini").path);
  // An installed program's folder is the system's, even for root who could write there.
  std::filesystem::create_directories(program.File("share/quorlin"));
  std::filesystem::create_directories(program.File("bin"));
  EXPECT_EQ(home.File("c/v.ini"), PlaceVersionFile(program.File("bin/"), home.File("c/"), "v.ini").path);
  for (const char* name : {"", "..", "../v.ini", "sub/v.ini", "quorlin.ini", "SETTINGS.INI"}) {
    const VersionFilePlace place = PlaceVersionFile(program.Path(), program.Path(), name);
    EXPECT_EQ(std::string("The version file name \"") + name + "\" cannot be used.", place.error);
  }
}

TEST(JudgeVersionFile, ReadsTheVersionAndTellsFilesThatNameNone) {
  struct Row {
    std::string bytes;
    VersionVerdict verdict;
  };
  const Row rows[] = {
      {"[Version]\r\nVersion=1.0.1.22\r\n", VersionVerdict::Newer},
      {"; comment\n[other]\na=1\n[VERSION]\n version = 1.0.1.3 \n", VersionVerdict::NotNewer},
      {"[Version]\nVersion=1.0.0.1\n", VersionVerdict::NotNewer},
      {"[Version]\nVersion=10.0\n", VersionVerdict::Newer},
      {"[Version]\nBuild=7\n", VersionVerdict::NamesNoVersion},
      {"[Version]\nVersion=latest\n", VersionVerdict::NamesNoVersion},
      {"[Other]\nVersion=2.0\n", VersionVerdict::NamesNoVersion},
      {"<html><body>Welcome to the hotel network</body></html>", VersionVerdict::NotAVersionFile},
      {std::string("[Version]\nVersion=2.0\n\0\x01\x02", 24), VersionVerdict::NotAVersionFile},
      {"", VersionVerdict::NotAVersionFile}};
  TempDir folder;
  for (const Row& row : rows) {
    WriteBytes(folder.File("v.ini"), row.bytes);
    EXPECT_EQ(row.verdict, JudgeVersionFile(folder.File("v.ini"), "1.0.1.4")) << row.bytes;
  }
  EXPECT_EQ(VersionVerdict::NotAVersionFile, JudgeVersionFile(folder.File("gone.ini"), "1.0"));
}

TEST(TransferText, CountsInPowersOf1000) {
  EXPECT_EQ("0 bytes", AmountText(0));
  EXPECT_EQ("999 bytes", AmountText(999));
  EXPECT_EQ("1.00 Kb", AmountText(1000));
  EXPECT_EQ("999.99 Kb", AmountText(999'994));
  EXPECT_EQ("1.00 Mb", AmountText(1'000'000));
  EXPECT_EQ("512 bytes/sec", RateText(512.7));
  EXPECT_EQ("12.35 Kb/sec", RateText(12'346));
  EXPECT_EQ("2.50 Mb/sec", RateText(2'500'000));
  EXPECT_EQ("3 sec", TimeLeftText(2500, 1000));
  EXPECT_EQ("2 min 05 sec", TimeLeftText(125'000, 1000));
  EXPECT_EQ("1 h 02 min", TimeLeftText(3'720'000, 1000));
  EXPECT_EQ("unknown", TimeLeftText(-1, 1000));
  EXPECT_EQ("unknown", TimeLeftText(5000, 0));
}

TEST(DownloadFailureMessage, SaysWhatHappenedInsteadOfUnableToConnect) {
  EXPECT_EQ("The update server's answer ended before the whole version file had arrived.",
            DownloadFailureMessage({DownloadOutcome::Incomplete, 200, ""}, "/p/v.ini"));
  EXPECT_EQ("The update server's answer has headers too large to be read.",
            DownloadFailureMessage({DownloadOutcome::HeaderTooLarge, 200, ""}, "/p/v.ini"));
  EXPECT_EQ("The update server sent the version file too slowly: the check gave up after a minute.",
            DownloadFailureMessage({DownloadOutcome::PastDeadline, 200, ""}, "/p/v.ini"));
  EXPECT_EQ("The update server's answer could not be read: Weird server reply",
            DownloadFailureMessage({DownloadOutcome::BadAnswer, 0, "Weird server reply"}, "/p/v.ini"));
}

}  // namespace
}  // namespace quorlin
