// pyodbc and isql read files of other character sets through the driver as their characters.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "odbc_session.h"
#include "support/encoded_files.h"
#include "support/odbc_sandbox.h"
#include "support/test_files.h"

namespace quorlin::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kPyodbcText = R"(
import json, sys, pyodbc
connection = pyodbc.connect("DSN=Sets")
rows = [[str(v) for v in row] for row in connection.cursor().execute(sys.argv[1]).fetchall()]
print(json.dumps(rows))
)";

const Rows kRows = {{"Jos\xC3\xA9", "\xE2\x82\xAC 12 \xE2\x80\x9Cq\xE2\x80\x9D"}, {"K\xC3\xB6ln", "\xE2\x95\x94\xC3\xA7"}};

class OdbcCharacterSets : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string text = "Name,Note\r\n" + kRows[0][0] + "," + kRows[0][1] + "\r\n" + kRows[1][0] + "," +
                             kRows[1][1] + "\r\n";
    // The code page file holds box drawing characters of its own page.
    ASSERT_EQ("", WriteEncodedFile(data.File("wide.csv"), "\xEF\xBB\xBF" + text, "utf_16_le"));
    ASSERT_EQ("", WriteEncodedFile(data.File("dos.txt"), "Jos\xC3\xA9 \xE2\x95\x94\xC3\xA7\r\nK\xC3\xB6ln \xE2\x95\x90\xE2\x95\x90\r\n", "cp850"));
    WriteBytes(data.File("Schema.INI"),
               "[wide.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCharacterSet=UTF-16LE\r\n"
               "Col1=Name Char WIDTH 10\r\nCol2=Note Char WIDTH 20\r\n"
               "[dos.txt]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nCharacterSet=CP850\r\n"
               "Col1=Name Char WIDTH 5\r\nCol2=Box Char WIDTH 2\r\n"
               "[pipes.txt]\r\nColNameHeader=True\r\nFormat=Delimited(\xC2\xA6)\r\nCharacterSet=Windows-1252\r\n"
               "Col1=Name Char WIDTH 10\r\nCol2=Note Char WIDTH 20\r\n"
               "[bytes.txt]\r\nColNameHeader=False\r\nFormat=FixedLength\r\nCharacterSet=UTF-8\r\n"
               "Col1=Name Char WIDTH 5\r\nCol2=Box Char WIDTH 3\r\n");
    // A separator beyond ASCII in the file's own code page (byte 166).
    ASSERT_EQ("", WriteEncodedFile(data.File("pipes.txt"), "Name\xC2\xA6Note\r\nFran\xC3\xA7ois\xC2\xA6\"a\xC2\xA6\xE2\x82\xAC\"\r\n", "cp1252"));
    // Fixed-length UTF-8 with a byte another program wrote in Windows-1252.
    WriteBytes(data.File("bytes.txt"), "K\xC3\xB6ln\xE2\x95\x94\r\nK\xF6ln ab\r\n");
    WriteBytes(data.File("script.py"), kPyodbcText);
    sandbox.AddTextDataSource("Sets", data.Path());
  }

  Rows Fetched(const std::string& query) {
    const CommandResult result =
        RunOdbcClient("/usr/bin/python3 " + ShellQuoted(data.File("script.py")) + " " + ShellQuoted(query) + " 2>&1");
    EXPECT_EQ(0, result.exitCode) << result.out;
    return nlohmann::json::parse(result.out).get<Rows>();
  }

  OdbcSandbox sandbox;
  TempDir data;
};

TEST_F(OdbcCharacterSets, PyodbcGetsTheCharactersOfUtf16AndCodePageFiles) {
  EXPECT_EQ(kRows, Fetched("SELECT * FROM [wide.csv]"));
  EXPECT_EQ((Rows{{"Jos\xC3\xA9", "\xE2\x95\x94\xC3\xA7"}, {"K\xC3\xB6ln", "\xE2\x95\x90\xE2\x95\x90"}}),
            Fetched("SELECT * FROM [dos.txt]"));
}

TEST_F(OdbcCharacterSets, SplitsAtANonAsciiSeparatorAndShowsInvalidFixedLengthBytesAsReplacements) {
  EXPECT_EQ((Rows{{"Fran\xC3\xA7ois", "a\xC2\xA6\xE2\x82\xAC"}}), Fetched("SELECT * FROM [pipes.txt]"));
  EXPECT_EQ((Rows{{"K\xC3\xB6ln", "\xE2\x95\x94"}, {"K\xEF\xBF\xBDln", "ab"}}), Fetched("SELECT * FROM [bytes.txt]"));
}

TEST_F(OdbcCharacterSets, IsqlGetsUtf8InItsCharacterBuffers) {
  const CommandResult result = RunOdbcClient("echo 'SELECT * FROM [wide.csv]' | isql -b -c -d'|' Sets 2>&1");
  ASSERT_EQ(0, result.exitCode) << result.out;
  EXPECT_NE(std::string::npos, result.out.find(kRows[0][0] + "|" + kRows[0][1] + "\n")) << result.out;
  EXPECT_NE(std::string::npos, result.out.find(kRows[1][0] + "|" + kRows[1][1] + "\n")) << result.out;
}

}  // namespace
}  // namespace quorlin::testing
