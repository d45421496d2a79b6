#include "cli_run.h"

namespace quorlin::testing {
namespace {

// Windows-1252: José, Köln, a curly-quoted name and the euro.
constexpr const char* kWindowsNames = "Name,City\r\nJos\xE9,K\xF6ln\r\n\x93" "Ann\x94,\x80 12\r\n";

class CharacterSetCommands : public CliFileTest {
 protected:
  void SetUp() override { UseData("names.csv", kWindowsNames); }
};

TEST_F(CharacterSetCommands, GuessPrintsAndSavesTheDetectedSet) {
  const CliResult result = Run({"guess", Data(), "--header", "--save"});
  ASSERT_EQ(0, result.exitCode) << result.err;
  EXPECT_TRUE(result.err.starts_with(Said(Data() + ": character set ANSI"))) << result.err;
  // Widths count the characters of the file's code page.
  EXPECT_EQ("Name\tChar\t5\nCity\tChar\t4\n", result.out);
  EXPECT_NE(std::string::npos, ReadBytes(dir_.File("Schema.INI")).find("\r\nCharacterSet=ANSI\r\n"));
}

TEST_F(CharacterSetCommands, CharsetOptionChoosesTheSetForPreviewAndSave) {
  const CliResult shown = Run({"preview", Data(), "--header", "--charset", "windows-1252"});
  ASSERT_EQ(0, shown.exitCode) << shown.err;
  EXPECT_EQ("1      2\nName   City\nJos\xC3\xA9   K\xC3\xB6ln\n\xE2\x80\x9C" "Ann\xE2\x80\x9D  \xE2\x82\xAC 12\n",
            shown.out);
  ASSERT_EQ(0, Run({"guess", Data(), "--header", "--save", "--charset", "CP850"}).exitCode);
  EXPECT_NE(std::string::npos, ReadBytes(dir_.File("Schema.INI")).find("\r\nCharacterSet=CP850\r\n"));
}

TEST_F(CharacterSetCommands, AnUnknownSetIsRefusedNamingTheValue) {
  const CliResult result = Run({"preview", Data(), "--charset", "Klingon"});
  EXPECT_EQ(2, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("--charset: CharacterSet=Klingon names no character set")) << result.err;
}

}  // namespace
}  // namespace quorlin::testing
