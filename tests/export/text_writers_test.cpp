// The parts of the SQL, HTML and XML writers that the golden files cannot show case by case.
#include <gtest/gtest.h>

#include <filesystem>

#include "export/export_paths.h"
#include "export/export_writers.h"
#include "export/sql/sql_writer.h"
#include "export/xml/xml_writer.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// An export of one field "v" from a one-line input in a scratch folder.
struct OneField {
  OneField(ExportFormat format, const std::string& line, ExportFieldType type = ExportFieldType::Char) {
    WriteBytes(dir.File("in.txt"), line + "\r\n");
    request.format = format;
    request.inputPath = dir.File("in.txt");
    request.outputPath = dir.File("out");
    request.inputSeparator = "\t";
    ExportField field;
    field.name = "v";
    field.typeCode = type;
    request.fields = {field};
    request.title = "t";
  }
  // The output's bytes.
  std::string Run() {
    MemoryOutputFiles files;
    ExportFile(request, files);
    return files.Bytes(request.outputPath);
  }

  TempDir dir;
  ExportRequest request;
};

std::string SqlItems(ExportFieldType type, const std::string& value, const LocaleSettings& locale = {}) {
  OneField sql(ExportFormat::SqlSchema, value, type);
  sql.request.locale = locale;
  const std::string script = sql.Run();
  const std::size_t from = script.find("VALUES(") + 7;
  return script.substr(from, script.find(");\r\nGO", from) - from);
}

TEST(SqlWriter, RendersEachValueByItsType) {
  using T = ExportFieldType;
  LocaleSettings comma;
  comma.decimalSeparator = ',';
  const struct {
    T type;
    std::string value;
    std::string item;
    LocaleSettings locale = {};
  } cases[] = {
      {T::Char, "O'Brien's", " 'O''Brien''s'"},
      {T::Char, "  ", " NULL"},
      {T::Bit, "Y  ", " TRUE"},
      {T::Bit, "1", " TRUE"},
      {T::Bit, "0", " FALSE"},
      {T::Date, "3/4/2002 10:30", " #03/04/2002 10:30:00#"},
      {T::Date, "3.4.2002", "NULL"},
      {T::Long, "12abc", "NULL"},
      {T::Long, "1); DROP TABLE t; --", "NULL"},
      {T::Datetime, "7", " 7"},
      {T::Integer, " 42 ", " 42"},
      {T::Float, "-.5", " -.5"},
      {T::Float, ".", " 0."},
      {T::Float, "+.e5", " +0.e5"},
      {T::Float, "1e5", " 1e5"},
      {T::Float, "1,5", " 1.5", comma},
      {T::Float, "1.5", " 1.5", comma},
      {T::Float, "1,5", "NULL"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.item, SqlItems(c.type, c.value, c.locale)) << c.value;
}

TEST(SqlWriter, NamesAreBareOnlyWhenPlainAndRefusedWhenTheyCannotBeQuoted) {
  const struct {
    const char* name;
    const char* written;
  } names[] = {{"Amount", "Amount"}, {"_x1", "_x1"}, {"1st", "[1st]"}, {"Order No", "[Order No]"},
               {"order", "[order]"}, {"When", "[When]"}, {"caf\xC3\xA9", "[caf\xC3\xA9]"}, {"", "[]"}};
  for (const auto& n : names) EXPECT_EQ(n.written, SqlName(n.name)) << n.name;
  EXPECT_EQ(std::nullopt, SqlNameRefusal("field name", "a [b"));
  EXPECT_EQ("The field name \"a]b\" holds \"]\" or a control character and cannot be written into "
            "an SQL script",
            SqlNameRefusal("field name", "a]b"));
  EXPECT_NE(std::nullopt, SqlNameRefusal("table name", "a\tb"));

  OneField sql(ExportFormat::SqlSchema, "x");
  sql.request.fields[0].name = "x]";
  EXPECT_EQ(ExportOutcome::Refused, ExportFile(sql.request).outcome);
  EXPECT_FALSE(std::filesystem::exists(sql.request.outputPath));
  EXPECT_FALSE(std::filesystem::exists(sql.dir.File(kSqlLogName)));
}

TEST(XmlWriter, ElementNamesAreValidNames) {
  const struct {
    const char* field;
    const char* element;
  } cases[] = {{"Unit Price", "Unit_Price"}, {"1st", "_1st"},       {"a&b<c>", "a_b_c_"},
               {"a:b", "a_b"},               {"-x", "_-x"},        {"caf\xC3\xA9", "caf\xC3\xA9"},
               {"caf\xE9", "caf_"},          {"\xCC\x81x", "_\xCC\x81x"}, {"", "_"},
               {"_ok.v-2", "_ok.v-2"}};
  for (const auto& c : cases) EXPECT_EQ(c.element, XmlElementName(c.field)) << c.field;
}

TEST(XmlWriter, CommentTextHoldsNoDoubleHyphen) {
  EXPECT_EQ("a- -b- - -c", XmlCommentText("a--b---c"));
  EXPECT_EQ("x\xC3\xA9y", XmlCommentText("x\xE9y\x01"));
}

TEST(XmlWriter, ValuesStayAsCutWithTranslationOff) {
  OneField xml(ExportFormat::Xml, "a<b \xE9");
  xml.request.translateSpecialChars = false;
  EXPECT_NE(std::string::npos, xml.Run().find("      <v>a<b \xE9</v>\r\n"));
}

TEST(HtmlWriter, TitleAndNamesAreTranslatedWithTheValues) {
  OneField html(ExportFormat::HtmlTable, "10:30", ExportFieldType::Time);
  html.request.fields[0].name = "x&y";
  html.request.title = "<b>_caf\xC3\xA9";
  html.request.includeFieldNames = true;
  for (const bool translate : {true, false}) {
    html.request.translateSpecialChars = translate;
    const std::string page = html.Run();
    EXPECT_NE(std::string::npos,
              page.find(translate ? "<TITLE>&lt;b&gt; caf&#233;</TITLE>" : "<TITLE><b> caf\xC3\xA9</TITLE>"));
    EXPECT_NE(std::string::npos, page.find(translate ? ">x&amp;y</TD>" : ">x&y</TD>"));
    EXPECT_NE(std::string::npos, page.find("<TD valign=\"center\" align=\"right\" >10:30</TD>"));
  }
}

// Many records are formatted in batches on two threads: the script and its log still hold
// every record, and every rejected one, in the order of the input.
TEST(SqlWriter, AScriptOfManyRecordsKeepsTheirOrderInScriptAndLog) {
  std::string input;
  std::string items;
  std::string log;
  for (int n = 1; n <= 20000; ++n) {
    const bool bad = n % 3001 == 0;
    input += (bad ? "x" : std::to_string(n)) + "\r\n";
    items += bad ? "NULL" : " " + std::to_string(n);
    if (bad) log += std::string(6 - std::to_string(n).size(), ' ') + std::to_string(n) + " :  Col : 0 (v) : x\r\n";
  }
  OneField sql(ExportFormat::SqlSchema, "", ExportFieldType::Long);
  WriteBytes(sql.request.inputPath, input);
  MemoryOutputFiles files;
  const ExportResult result = ExportFile(sql.request, files);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(log, files.Bytes(BesideOutput(sql.request.outputPath, kSqlLogName)));
  std::string found;
  const std::string script = files.Bytes(sql.request.outputPath);
  for (std::size_t at = 0; (at = script.find("VALUES(", at)) != std::string::npos;) {
    at += 7;
    found += script.substr(at, script.find(");", at) - at);
  }
  EXPECT_EQ(items, found);
}

}  // namespace
}  // namespace quorlin
