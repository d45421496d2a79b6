// The scripts and documents the writers make, read by sqlite3 and xmllint.
#include <gtest/gtest.h>

#include <regex>

#include "export/export_writers.h"
#include "export/golden_cases.h"
#include "support/run_command.h"

namespace quorlin {
namespace {

using testing::CommandResult;
using testing::ReadBytes;
using testing::RunCommand;
using testing::TempDir;
using testing::WriteBytes;

// What a batch tool does before handing the script on: GO lines end batches, and #...# is a
// date literal that other databases write in quotes.
std::string AsSqliteScript(const std::string& script) {
  const std::string withoutGo = std::regex_replace(script, std::regex("\r\nGO\r\n"), "\r\n");
  return std::regex_replace(withoutGo, std::regex("#([^#\r\n]*)#"), "'$1'");
}

TEST(IndependentReaders, Sqlite3LoadsEveryGoldenScript) {
  const testing::GoldenFormat& sql = testing::kGoldenFormats.back();
  ASSERT_EQ(ExportFormat::SqlSchema, sql.format);
  const struct {
    const char* name;
    const char* table;
    const char* query;
    const char* expected;
  } checks[] = {
      {"orders", "Order_Book", "SELECT OrderNo, Amount IS NULL, Paid, Placed FROM Order_Book WHERE OrderNo IN (1002, 1003);",
       "1002|0|1|03/04/2002 10:30:00\n1003|1|0|\n"},
      {"stock", "Stock", "SELECT count(*), sum([In Stock]) FROM Stock;", "4|1\n"},
      {"kept", "Kept", "SELECT Code, Label, [When] FROM Kept;", "A1|semi;colon|12/30/1899 10:30:00\nB2|'lead'|\n"},
      {"empty", "Empty_Table", "SELECT count(*), A IS NULL FROM Empty_Table;", "1|1\n"},
  };
  for (const auto& check : checks) {
    TempDir dir;
    const std::string script = ReadBytes(testing::GoldenFolder() + "sql/" + check.name + ".SQL");
    WriteBytes(dir.File("load.sql"), AsSqliteScript(script) + check.query + "\n");
    const CommandResult result = RunCommand("sqlite3 -bail :memory: < " + dir.File("load.sql") + " 2>&1");
    EXPECT_EQ(0, result.exitCode) << check.name << ": " << result.out;
    EXPECT_EQ(check.expected, result.out) << check.name;
  }
}

TEST(IndependentReaders, XmllintAcceptsAnyNamesAndValuesWithTranslationOn) {
  TempDir dir;
  const std::vector<std::string> names = {
      "1st", "a&b", "<x>", "caf\xC3\xA9", "caf\xE9", "a:b", "-x", ".y", "x\x01y",
      "\xEF\xBF\xBE", "xml", "\xCC\x81" "accent", "Unit Price", "\xE2\x80\xBF"};
  const std::vector<std::string> values = {
      "\x01\x02", "]]>", "<!-- -- -->", "&amp;", "\xE9\xFF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
      "\xEF\xBF\xBF", "a\x0B" "b", "\xC3", "'\"", "\x7F\xC2\x80", "plain", "x"};
  std::string schema = "[hostile.txt]\r\nFormat=Delimited(|)\r\n";
  std::string header;
  for (std::size_t i = 0; i < names.size(); ++i) {
    schema += "Col" + std::to_string(i + 1) + "=\"" + names[i] + "\" Char\r\n";
    header += (i ? "|" : "") + names[i];
  }
  std::string record;
  for (std::size_t i = 0; i < values.size(); ++i) record += (i ? "|" : "") + values[i];
  WriteBytes(dir.File("Schema.INI"), schema);
  WriteBytes(dir.File("hostile.txt"), header + "\r\n" + record + "\r\n" + record + "|more\r\n");

  ExportRequest request;
  request.format = ExportFormat::Xml;
  request.inputPath = dir.File("hostile.txt");
  request.outputPath = dir.File("hostile.xml");
  request.inputSeparator = "|";
  request.fields = BuildExportFields(request.inputPath, false, ExportFormat::Xml);
  request.hasHeaderRow = true;
  request.includeHeaderRow = true;
  request.includeFieldNames = true;
  request.title = "a--b-<&>\x01\xE9-";
  ASSERT_EQ(names.size(), request.fields.size());
  ASSERT_TRUE(ExportFile(request).Exported());
  const CommandResult result = RunCommand("xmllint --noout " + request.outputPath + " 2>&1");
  EXPECT_EQ(0, result.exitCode) << result.out;
  EXPECT_EQ("", result.out);
}

}  // namespace
}  // namespace quorlin
