// Files of every character set family, written by Python, exported to every format and read
// back by programs other than this one.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "export/binary_export_support.h"
#include "export/export_choices.h"
#include "export/export_writers.h"
#include "schema/schema_writer.h"
#include "support/duckdb_query.h"
#include "support/encoded_files.h"
#include "support/test_files.h"
#include "text/character_set_detection.h"
#include "text/text_decoder.h"

extern "C" {
#include <paradox.h>
}

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::RunCommand;
using testing::RunPython;
using testing::TempDir;
using testing::WriteBytes;

struct Family {
  const char* label;
  const char* codec;      // Python's codec that writes the file
  bool mark;              // the file starts with U+FEFF
  const char* detected;   // what the file's first bytes show
  const char* chosen;     // the set the layout names
  std::vector<std::vector<std::string>> rows;  // UTF-8
  const char* dbfEncoding;     // how dbfread is told to read the table
  int languageDriver;          // the dBase header's byte 29
  int paradoxCodePage;
};

void PrintTo(const Family& family, std::ostream* out) { *out << family.label; }

const std::vector<std::vector<std::string>> kWindowsRows = {
    {"Jos\xC3\xA9", "K\xC3\xB6ln", "\xE2\x82\xAC 12"},
    {"\xE2\x80\x9C" "Ann\xE2\x80\x9D", "Zo\xC3\xAB", "na\xC3\xAFve\xE2\x80\xA6"}};

const Family kFamilies[] = {
    {"Windows1252", "cp1252", false, "ANSI", "ANSI", kWindowsRows, "cp1252", 0x03, 1252},
    {"Cp850", "cp850", false, "ANSI", "CP850",
     {{"\xC3\x86r\xC3\xB8", "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97", "\xC3\xA7" "a"},
      {"\xC3\x91" "and\xC3\xBA", "\xE2\x94\x82\xE2\x96\x88\xE2\x94\x82", "\xC2\xBD"}},
     "cp850", 0x02, 850},
    {"Iso8859_15", "iso8859_15", false, "ANSI", "ISO-8859-15",
     {{"\xC5\x92uvre", "\xC5\xA0ibenik", "\xE2\x82\xAC 5"}, {"\xC5\xBDiga", "\xC5\xB8ves", "\xC5\x93il"}},
     "iso8859_15", 0, 1252},
    {"Utf16LeWithMark", "utf_16_le", true, "UTF-16LE", "UTF-16LE", kWindowsRows, "utf-8", 0, 1252},
    {"Utf16LeWithoutMark", "utf_16_le", false, "UTF-16LE", "UTF-16LE", kWindowsRows, "utf-8", 0, 1252},
    {"Utf16BeWithMark", "utf_16_be", true, "UTF-16BE", "UTF-16BE", kWindowsRows, "utf-8", 0, 1252},
    {"Utf16BeWithoutMark", "utf_16_be", false, "UTF-16BE", "UTF-16BE", kWindowsRows, "utf-8", 0, 1252},
};

// The rows as the readers below print them: values joined by "|", one row a line.
std::string Printed(const std::vector<std::vector<std::string>>& rows) {
  std::string printed;
  for (const auto& row : rows) printed += row[0] + "|" + row[1] + "|" + row[2] + "\n";
  return printed;
}

constexpr const char* kPrintsUtf8 = "import sys\nsys.stdout.reconfigure(encoding='utf-8')\n";

class CharacterSetExport : public ::testing::TestWithParam<Family> {
 protected:
  void SetUp() override {
    const Family& family = GetParam();
    std::string text = family.mark ? "\xEF\xBB\xBF" : "";
    text += "Name,City,Note\r\n";
    for (const auto& row : family.rows) text += row[0] + "," + row[1] + "," + row[2] + "\r\n";
    ASSERT_EQ("", testing::WriteEncodedFile(input_, text, family.codec));
    layout_.hasHeaderRow = true;
    layout_.characterSet = *CharacterSet::Named(family.chosen);
  }

  ExportRequest Request(ExportFormat format, const std::string& output) {
    ExportChoices choices;
    choices.format = format;
    choices.inputPath = input_;
    choices.outputPath = dir_.File(output);
    choices.inputSeparator = ",";
    choices.characterSet = layout_.characterSet;
    choices.hasHeaderRow = true;
    choices.includeFieldNames = format != ExportFormat::XBase && format != ExportFormat::Paradox;
    choices.title = "People";
    auto prepared = PrepareExport(choices, ExportContext{});
    EXPECT_TRUE(std::holds_alternative<ExportRequest>(prepared)) << output;
    return std::get<ExportRequest>(prepared);
  }

  // Exports to `output` and expects no replacement characters.
  std::string Export(ExportFormat format, const std::string& output) {
    const ExportResult result = ExportFile(Request(format, output));
    EXPECT_TRUE(result.Exported()) << output;
    EXPECT_EQ(0, result.replaced) << output;
    return dir_.File(output);
  }

  TempDir dir_;
  std::string input_ = dir_.File("people.csv");
  FileLayout layout_;
};

TEST_P(CharacterSetExport, IsDetectedPreviewedAndSavedWithItsSet) {
  EXPECT_EQ(GetParam().detected, DetectFileCharacterSet(input_).Name());
  const PreviewTable preview = LoadPreview(input_, PreviewOptionsFor(layout_, 1));
  EXPECT_EQ((std::vector<std::string>{"Name", "City", "Note"}), preview.names);
  EXPECT_EQ(GetParam().rows, preview.rows);

  const FieldList fields = {{"Name", "Char", "12", {}}, {"City", "Char", "12", {}}, {"Note", "Char", "12", {}}};
  ASSERT_TRUE(SaveToSchema(dir_.Path(), "people.csv", layout_, fields, true, input_).written);
  EXPECT_NE(std::string::npos,
            ReadBytes(dir_.File("Schema.INI")).find("\r\nCharacterSet=" + std::string(GetParam().chosen) + "\r\n"));
}

TEST_P(CharacterSetExport, ReadsBackRightFromEveryFormat) {
  const FieldList fields = {{"Name", "Char", "12", {}}, {"City", "Char", "12", {}}, {"Note", "Char", "12", {}}};
  ASSERT_TRUE(SaveToSchema(dir_.Path(), "people.csv", layout_, fields, true, input_).written);
  const std::string expected = Printed(GetParam().rows);

  for (const auto& [format, name, delimiter] : {std::tuple{ExportFormat::CommaDelimited, "out.csv", ","},
                                                 std::tuple{ExportFormat::TabDelimited, "out.tab", "\\t"}}) {
    const std::string path = Export(format, name);
    EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                      "import csv\nrows = list(csv.reader(open(sys.argv[1], encoding='utf-8', "
                                      "newline=''), delimiter='" + delimiter + "'))\n"
                                      "for r in rows[1:]: print('|'.join(r))\n",
                                  path))
        << name;
  }

  const std::string xml = Export(ExportFormat::Xml, "out.xml");
  EXPECT_EQ(0, RunCommand("xmllint --noout " + xml + " 2>&1").exitCode);
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import xml.etree.ElementTree as et\n"
                                    "for r in et.parse(sys.argv[1]).getroot().iter('RECORD'):\n"
                                    "    print('|'.join(r.find(n).text for n in ('Name', 'City', 'Note')))\n",
                                xml));

  const std::string html = Export(ExportFormat::HtmlTable, "out.htm");
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import html.parser\n"
                                    "class Cells(html.parser.HTMLParser):\n"
                                    "    cells, inside = [], False\n"
                                    "    def handle_starttag(self, tag, attrs): self.inside = tag == 'td'; tag == 'td' and self.cells.append('')\n"
                                    "    def handle_endtag(self, tag): self.inside = False\n"
                                    "    def handle_data(self, data):\n"
                                    "        if self.inside: self.cells[-1] += data\n"
                                    "p = Cells(); p.feed(open(sys.argv[1], encoding='ascii').read())\n"
                                    "for i in range(3, len(p.cells), 3): print('|'.join(p.cells[i:i + 3]))\n",
                                html));
  // The euro of Windows-1252 byte 128 is its own code point, not the control character 128.
  if (GetParam().rows == kWindowsRows) {
    EXPECT_NE(std::string::npos, ReadBytes(html).find("&#8364; 12"));
  }

  const std::string sql = Export(ExportFormat::SqlSchema, "out.sql");
  std::string script = std::regex_replace(ReadBytes(sql), std::regex("\r\nGO\r\n"), "\r\n");
  WriteBytes(dir_.File("load.sql"), script + "SELECT Name || '|' || City || '|' || Note FROM People;\n");
  const testing::CommandResult loaded = RunCommand("sqlite3 -bail :memory: < " + dir_.File("load.sql") + " 2>&1");
  EXPECT_EQ(expected, loaded.out);

  const std::string dbf = Export(ExportFormat::XBase, "out.dbf");
  EXPECT_EQ(GetParam().languageDriver, static_cast<unsigned char>(ReadBytes(dbf)[29]));
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import dbfread\n"
                                    "for r in dbfread.DBF(sys.argv[1], encoding='" + GetParam().dbfEncoding + "'):\n"
                                    "    print('|'.join(v.rstrip() for v in r.values()))\n",
                                dbf));

  const std::string xls = Export(ExportFormat::Excel, "out.xls");
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import xlrd\n"
                                    "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                    "for i in range(1, s.nrows): print('|'.join(str(v) for v in s.row_values(i)))\n",
                                xls));

  const std::string xlsx = Export(ExportFormat::Xlsx, "out.xlsx");
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import openpyxl\n"
                                    "s = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                                    "for r in list(s.iter_rows(values_only=True))[1:]: print('|'.join(str(v) for v in r))\n",
                                xlsx));

  const std::string jsonl = Export(ExportFormat::JsonLines, "out.jsonl");
  EXPECT_EQ(expected, RunPython(std::string(kPrintsUtf8) +
                                    "import json\n"
                                    "for line in open(sys.argv[1], encoding='utf-8'):\n"
                                    "    print('|'.join(json.loads(line).values()))\n",
                                jsonl));

  const std::string parquet = Export(ExportFormat::Parquet, "out.parquet");
  EXPECT_EQ(GetParam().rows,
            testing::DuckDbRows("SELECT Name, City, Note FROM read_parquet(" + testing::SqlString(parquet) + ")"));

  const std::string db = Export(ExportFormat::Paradox, "out.db");
  pxdoc_t* doc = PX_new();
  ASSERT_EQ(0, PX_open_file(doc, db.c_str()));
  EXPECT_EQ(GetParam().paradoxCodePage, doc->px_head->px_doscodepage);
  const CharacterSet codePage = *CharacterSet::Named(GetParam().paradoxCodePage == 850 ? "CP850" : "Windows-1252");
  std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
  std::vector<std::vector<std::string>> rows;
  for (int r = 0; r < PX_get_num_records(doc); ++r) {
    PX_get_record(doc, r, record.data());
    std::vector<std::string>& row = rows.emplace_back();
    const char* data = record.data();
    for (int i = 0; i < PX_get_num_fields(doc); ++i) {
      const int size = PX_get_fields(doc)[i].px_flen;
      const std::string bytes(data, strnlen(data, static_cast<std::size_t>(size)));
      row.push_back(DecodeText(bytes, codePage));
      data += size;
    }
  }
  PX_close(doc);
  PX_delete(doc);
  EXPECT_EQ(GetParam().rows, rows);
}

INSTANTIATE_TEST_SUITE_P(Families, CharacterSetExport, ::testing::ValuesIn(kFamilies),
                         [](const auto& info) { return std::string(info.param.label); });

// Exports `bytes` saved as `name` with `layout` and `fields` to CSV in a scratch folder.
class CharacterSetExportResult : public ::testing::Test {
 protected:
  ExportResult Export(const std::string& name, const std::string& bytes, const FileLayout& layout,
                      const FieldList& fields) {
    WriteBytes(dir_.File(name), bytes);
    EXPECT_TRUE(SaveToSchema(dir_.Path(), name, layout, fields, true, dir_.File(name)).written);
    ExportChoices choices;
    choices.format = ExportFormat::CommaDelimited;
    choices.inputPath = dir_.File(name);
    choices.outputPath = dir_.File("out.csv");
    choices.fixedInput = layout.separator == SeparatorKind::Fixed;
    choices.inputSeparator = choices.fixedInput ? "" : ",";
    choices.characterSet = layout.characterSet;
    choices.hasHeaderRow = layout.hasHeaderRow;
    const ExportResult result = ExportFile(std::get<ExportRequest>(PrepareExport(choices, ExportContext{})));
    EXPECT_TRUE(result.Exported());
    return result;
  }

  // What the result says of `count` invalid places of `set` in `name`.
  std::vector<std::string> Said(const std::string& name, int count, const std::string& set) {
    return {dir_.File(name) + " holds " + std::to_string(count) + (count == 1 ? " place that is" : " places that are") +
            " not valid " + set + " text, written as the replacement character U+FFFD"};
  }

  TempDir dir_;
};

TEST_F(CharacterSetExportResult, CountsTheBytesInvalidInTheSet) {
  FileLayout layout;
  layout.hasHeaderRow = true;
  layout.characterSet = CharacterSet::Utf8();
  // A UTF-8 file with one line another program added in Windows-1252.
  const ExportResult result =
      Export("mixed.csv", "Name\r\nK\xC3\xB6ln\r\nK\xF6ln \x93x\x94\r\n", layout, {{"Name", "Char", "12", {}}});
  EXPECT_EQ(3, result.replaced);
  EXPECT_EQ(Said("mixed.csv", 3, "UTF-8"), result.messages);
  EXPECT_EQ("Name\r\nK\xC3\xB6ln\r\nK\xEF\xBF\xBDln \xEF\xBF\xBDx\xEF\xBF\xBD\r\n", ReadBytes(dir_.File("out.csv")));
}

// A file whose UTF-16 mark is followed by an odd number of bytes: its last byte is one place.
TEST_F(CharacterSetExportResult, CountsTheOddLastByteOfAMarkedUtf16File) {
  FileLayout layout;
  layout.hasHeaderRow = true;
  const ExportResult result = Export("odd.csv", std::string("\xFF\xFEN\0a\0\r\0\n\0K\0\xF6\0\r\0\n\0x", 19), layout,
                                     {{"Na", "Char", "4", {}}});
  EXPECT_EQ(1, result.replaced);
  EXPECT_EQ(Said("odd.csv", 1, "UTF-16LE"), result.messages);
  EXPECT_EQ("Na\r\nK\xC3\xB6\r\n\xEF\xBF\xBD\r\n", ReadBytes(dir_.File("out.csv")));
}

// Fixed-length UTF-8 is cut by its bytes; its values then show invalid bytes as U+FFFD. The
// "é" cut in two by a width that counts bytes is two places.
TEST_F(CharacterSetExportResult, CountsTheInvalidBytesOfFixedLengthUtf8ValuesCutByBytes) {
  FileLayout layout;
  layout.separator = SeparatorKind::Fixed;
  layout.characterSet = CharacterSet::Utf8();
  const ExportResult result = Export("fixed.txt", "K\xC3\xB6ln12\r\nK\xF6ln 34\r\nAnn\xC3\xA9" "56\r\n", layout,
                                     {{"Name", "Char", "4", {}}, {"Num", "Char", "3", {}}});
  EXPECT_EQ(3, result.replaced);
  EXPECT_EQ(Said("fixed.txt", 3, "UTF-8"), result.messages);
  EXPECT_EQ("Name,Num\r\nK\xC3\xB6l,n12\r\nK\xEF\xBF\xBDln, 34\r\nAnn\xEF\xBF\xBD,\xEF\xBF\xBD" "56\r\n",
            ReadBytes(dir_.File("out.csv")));
}

}  // namespace
}  // namespace quorlin
