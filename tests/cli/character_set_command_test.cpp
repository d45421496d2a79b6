#include "cli_run.h"
#include "support/encoded_files.h"
#include "support/run_command.h"

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

// Spark reads a fixed-length file as lines of text and drops the header by its text.
TEST_F(CharacterSetCommands, EngineStatementsCompareTheHeaderAsDecodedText) {
  UseData("fixed.txt", "Name Gr\xF6\xDF" "e\r\nAnn  12\r\n");
  WriteBytes(dir_.File("Schema.INI"),
             "[fixed.txt]\r\nColNameHeader=True\r\nFormat=FixedLength\r\nCharacterSet=ANSI\r\n"
             "Col1=Name Char Width 5\r\nCol2=Size Char Width 5\r\n");
  const CliResult spark = Run({"schema", "show", Data(), "--as", "spark"});
  ASSERT_EQ(0, spark.exitCode) << spark.err;
  EXPECT_NE(std::string::npos, spark.out.find("WHERE value <> 'Name Gr\xC3\xB6\xC3\x9F" "e';")) << spark.out;
}

struct SeparatorCase {
  const char* label;
  const char* codec;      // Python's name for the file's set
  const char* charset;    // the set the layout names
  const char* separator;  // UTF-8, as typed
  const char* widths;     // what guess prints: widths of UTF-8 count bytes
};

void PrintTo(const SeparatorCase& separatorCase, std::ostream* out) { *out << separatorCase.label; }

// Records whose separator is a character beyond ASCII, as the file's own set writes it. The
// "ç" of UTF-8 holds the byte that is "§" in the code pages.
constexpr const char* kSeparatedText = "Name{}City\r\nFran\xC3\xA7ois{}K\xC3\xB6ln\r\n\"A{}\xE2\x82\xAC\"{}Z\r\n";

std::string WithSeparator(const std::string& separator) {
  std::string text = kSeparatedText;
  for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}", at)) {
    text.replace(at, 2, separator);
  }
  return text;
}

class NonAsciiSeparator : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(NonAsciiSeparator, IsSavedAsTheCharacterAndSplitsPreviewGuessAndExport) {
  TempDir dir;
  const std::string data = dir.File("data.txt");
  ASSERT_EQ("", WriteEncodedFile(data, WithSeparator(GetParam().separator), GetParam().codec));
  const CliResult guessed = RunArguments(
      {"guess", data, "--header", "--sep", GetParam().separator, "--charset", GetParam().charset, "--save"});
  ASSERT_EQ(0, guessed.exitCode) << guessed.err;
  EXPECT_EQ(GetParam().widths, guessed.out);
  const std::string schema = ReadBytes(dir.File("Schema.INI"));
  EXPECT_NE(std::string::npos, schema.find("\r\nFormat=Delimited(" + std::string(GetParam().separator) + ")\r\n"))
      << schema;

  // From the saved section alone.
  const CliResult shown = RunArguments({"preview", data, "--layout", dir.File("Schema.INI")});
  ASSERT_EQ(0, shown.exitCode) << shown.err;
  const std::string quoted = "A" + std::string(GetParam().separator) + "\xE2\x82\xAC";
  EXPECT_EQ("1         2\nName      City\nFran\xC3\xA7ois  K\xC3\xB6ln\n" + quoted + "       Z\n", shown.out);
  ASSERT_EQ(0, RunArguments({"export", data, "--to", "csv", "-o", dir.File("out.csv")}).exitCode);
  const CommandResult read = RunCommand(
      "/usr/bin/python3 -c 'import csv,sys; [print(\"|\".join(r)) for r in csv.reader(open(sys.argv[1], "
      "encoding=\"utf-8\", newline=\"\"))]' '" + dir.File("out.csv") + "'");
  ASSERT_EQ(0, read.exitCode) << read.out;
  EXPECT_EQ("Name|City\nFran\xC3\xA7ois|K\xC3\xB6ln\n" + quoted + "|Z\n", read.out);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, NonAsciiSeparator,
    ::testing::Values(
        SeparatorCase{"Windows1252BrokenBar", "cp1252", "ANSI", "\xC2\xA6", "Name\tChar\t8\nCity\tChar\t4\n"},
        SeparatorCase{"Iso8859_15Section", "iso8859_15", "ISO-8859-15", "\xC2\xA7", "Name\tChar\t8\nCity\tChar\t4\n"},
        SeparatorCase{"Utf8Section", "utf-8", "UTF-8", "\xC2\xA7", "Name\tChar\t9\nCity\tChar\t5\n"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quorlin::testing
