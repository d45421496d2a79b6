#include "platform/settings_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(SettingsLocation, TheConfigurationFolderFollowsTheEnvironment) {
  EXPECT_EQ("/x/cfg/Quorlin/", UserConfigFolder("/x/cfg", "/home/u"));
  EXPECT_EQ("/home/u/.config/Quorlin/", UserConfigFolder("", "/home/u"));
  EXPECT_EQ("/home/u/.config/Quorlin/", UserConfigFolder(nullptr, "/home/u/"));
}

TEST(SettingsLocation, BesideTheProgramWhenItsFolderIsWritable) {
  TempDir program;
  TempDir config;
  EXPECT_EQ(program.File("Quorlin.INI"), SettingsFilePath(program.Path(), config.File("q/")));
  WriteBytes(program.File("quorlin.ini"), "");
  EXPECT_EQ(program.File("quorlin.ini"), SettingsFilePath(program.Path(), config.File("q/")));
  EXPECT_FALSE(std::filesystem::exists(config.File("q")));
}

TEST(SettingsLocation, InTheConfigurationFolderWhenTheProgramsIsReadOnly) {
  TempDir program;
  TempDir config;
  ASSERT_EQ(0, ::chmod(program.Path().c_str(), 0555));
  EXPECT_EQ(config.File("q/Quorlin.INI"), SettingsFilePath(program.Path(), config.File("q/")));
  EXPECT_TRUE(std::filesystem::is_directory(config.File("q")));
  ::chmod(program.Path().c_str(), 0755);
}

TEST(SettingsLocation, AnInstalledProgramKeepsThemInTheConfigurationFolderEvenWhenItCouldWriteBesideIt) {
  TempDir prefix;
  TempDir config;
  std::filesystem::create_directories(prefix.File("bin"));
  std::filesystem::create_directories(prefix.File("share/quorlin/help"));
  EXPECT_EQ(config.File("q/Quorlin.INI"), SettingsFilePath(prefix.File("bin/"), config.File("q/")));
  EXPECT_FALSE(std::filesystem::exists(prefix.File("bin/Quorlin.INI")));
}

}  // namespace
}  // namespace quorlin
