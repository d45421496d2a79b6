// Files the csv module of Python writes, exported and read back by Python's own readers.
#include <gtest/gtest.h>

#include "export/binary_export_support.h"
#include "export/export_field_builder.h"
#include "export/export_writers.h"
#include "support/test_files.h"
#include "text/preview_loader.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::RunPython;
using testing::TempDir;
using testing::WriteBytes;

// The values every reader must give back. Blanks at a value's ends are not among them, as
// every value is trimmed when it is cut.
constexpr const char* kValues = R"(VALUES = [
    ['1', 'a,b', 'plain'],
    ['2', 'He said "hi", ok', "it's"],
    ['3', '{"type": "Point"}', "'single' and \"double\""],
    ['4', 'line one\r\nline two', 'lf\nonly'],
    ['5', 'lone\rcr', 'inner  blanks  here'],
    ['6', '', 'caf\u00e9 \u00fcber \u2713'],
    ['7', '""', ',,'],
]
)";

constexpr const char* kWriteCsv = R"(
import csv, sys
with open(sys.argv[1], 'w', newline='', encoding='utf-8') as f:
    w = csv.writer(f)
    w.writerow(['Id', 'Text', 'Note'])
    w.writerows(VALUES)
print('ok')
)";

class PythonCsvRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ("ok\n", RunPython(std::string(kValues) + kWriteCsv, dir_.File("data.csv")));
    WriteBytes(dir_.File("Schema.INI"),
               "[data.csv]\r\nColNameHeader=True\r\nFormat=CSVDelimited\r\nCol1=Id Integer\r\n"
               "Col2=Text Char WIDTH 60\r\nCol3=Note Char WIDTH 60\r\n");
  }

  ExportRequest Request(ExportFormat format, const std::string& output) {
    ExportRequest request = testing::BinaryRequest(format, dir_.File("data.csv"), dir_.File(output),
                                                   BuildExportFields(dir_.File("data.csv"), false, format));
    request.hasHeaderRow = true;
    request.includeFieldNames = true;
    request.outputQualifier = "\"";
    return request;
  }

  TempDir dir_;
};

TEST_F(PythonCsvRoundTrip, PreviewShowsEveryValueWhole) {
  PreviewOptions options;
  options.separator = ",";
  options.hasHeaderRow = true;
  const PreviewTable table = LoadPreview(dir_.File("data.csv"), options);
  ASSERT_EQ(7u, table.rows.size());
  EXPECT_EQ((std::vector<std::string>{"2", "He said \"hi\", ok", "it's"}), table.rows[1]);
  EXPECT_EQ((std::vector<std::string>{"4", "line one\r\nline two", "lf\nonly"}), table.rows[3]);
  EXPECT_EQ((std::vector<std::string>{"5", "lone\rcr", "inner  blanks  here"}), table.rows[4]);
  EXPECT_EQ((std::vector<std::string>{"7", "\"\"", ",,"}), table.rows[6]);
}

TEST_F(PythonCsvRoundTrip, CommaAndTabExportsReadBackInTheCsvModule) {
  for (const auto& [format, separator, output] :
       {std::tuple{ExportFormat::CommaDelimited, ",", "out.csv"}, std::tuple{ExportFormat::TabDelimited, "\t", "out.tab"}}) {
    ExportRequest request = Request(format, output);
    request.outputSeparator = separator;
    ASSERT_TRUE(ExportFile(request).Exported());
    const std::string check = std::string(kValues) + R"(
import csv, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f, delimiter=')" + std::string(separator == std::string("\t") ? "\\t" : ",") + R"('))
assert rows[0] == ['Id', 'Text', 'Note'], rows[0]
assert rows[1:] == VALUES, rows[1:]
print('ok')
)";
    EXPECT_EQ("ok\n", RunPython(check, request.outputPath)) << output << "\n" << ReadBytes(request.outputPath);
  }
}

TEST_F(PythonCsvRoundTrip, WorkbookReadsBackInXlrd) {
  ASSERT_TRUE(ExportFile(Request(ExportFormat::Excel, "out.xls")).Exported());
  const std::string check = std::string(kValues) + R"(
import sys, xlrd
s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
rows = [[s.cell_value(r, c) for c in range(3)] for r in range(1, s.nrows)]
rows = [[str(int(r[0]))] + r[1:] for r in rows]
assert rows == VALUES, rows
print('ok')
)";
  EXPECT_EQ("ok\n", RunPython(check, dir_.File("out.xls")));
}

TEST_F(PythonCsvRoundTrip, DbaseTableReadsBackInDbfread) {
  ExportRequest request = Request(ExportFormat::XBase, "out.dbf");
  ASSERT_TRUE(ExportFile(request).Exported());
  const std::string check = std::string(kValues) + R"(
import sys, dbfread
t = dbfread.DBF(sys.argv[1], encoding='utf-8')
rows = [[str(v) for v in r.values()] for r in t]
rows = [[r[0], r[1], r[2]] for r in rows]
assert rows == VALUES, rows
print('ok')
)";
  EXPECT_EQ("ok\n", RunPython(check, request.outputPath));
}

}  // namespace
}  // namespace quorlin
