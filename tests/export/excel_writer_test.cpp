#include "export/xls/excel_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "export/binary_export_support.h"
#include "export/export_writers.h"
#include "export/failing_outputs.h"
#include "export/xls/workbook_writer.h"
#include "support/case_names.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::BinaryRequest;
using testing::Field;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Type = ExportFieldType;

// Every cell of the first sheet as xlrd reads it, a row a line: "type:value" separated by "|".
constexpr const char* kXlrdDump = R"(import sys, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
print(book.nsheets, sheet.name, sheet.nrows, sheet.ncols)
names = {xlrd.XL_CELL_TEXT: 't', xlrd.XL_CELL_BOOLEAN: 'b', xlrd.XL_CELL_BLANK: '-', xlrd.XL_CELL_EMPTY: ''}
for r in range(sheet.nrows):
    print('|'.join(names[c.ctype] + ':' + str(c.value) for c in sheet.row(r)))
)";

std::string GoldenPath(const std::string& name) {
  return std::string(QUORLIN_TEST_DATA) + "/golden/xls/" + name;
}

std::string Saved(const WorkbookWriter& workbook) {
  std::string file;
  workbook.Save([&](std::string_view bytes) { file.append(bytes); });
  return file;
}

TEST(WorkbookWriter, MatchesTheGoldenWorkbook) {
  WorkbookWriter workbook;
  workbook.SetNumberFormat(0, "0");
  workbook.PutText(0, 0, "Name");
  workbook.PutText(1, 0, "Member");
  workbook.PutText(0, 1, "Zo\xC3\xAB");
  workbook.PutBoolean(1, 1, true);
  workbook.PutBlank(0, 2);
  workbook.PutBoolean(1, 2, false);
  const std::string file = Saved(workbook);
  // Regenerating is a deliberate step: QUORLIN_WRITE_GOLDEN=1 export_tests, then review.
  if (std::getenv("QUORLIN_WRITE_GOLDEN") != nullptr) WriteBytes(GoldenPath("three_rows.xls"), file);
  EXPECT_SAME_BYTES(ReadBytes(GoldenPath("three_rows.xls")), file);
  EXPECT_SAME_BYTES(workbook.Stream(), file.substr(2048, workbook.Stream().size()));  // in the mini stream
}

TEST(WorkbookWriter, GoldenWorkbookOpensInXlrdAndGnumeric) {
  EXPECT_EQ("1 Sheet 1 3 2\nt:Name|t:Member\nt:Zoë|b:1\n-:|b:0\n",
            testing::RunPython(kXlrdDump, GoldenPath("three_rows.xls")));
  TempDir dir;
  testing::RunCommand("ssconvert " + GoldenPath("three_rows.xls") + " " + dir.File("out.csv") + " 2>&1");
  EXPECT_EQ("Name,Member\nZoë,TRUE\n,FALSE\n", ReadBytes(dir.File("out.csv")));
}

struct PlacementCase {
  bool hasHeaderRow;
  bool includeHeaderRow;
  bool includeFieldNames;
  std::string rows;  // as kXlrdDump prints them
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
  *out << (c.hasHeaderRow ? "header line" : "no header line") << (c.includeHeaderRow ? " included" : "")
       << (c.includeFieldNames ? " with names" : "");
}

class ExcelRows : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ExcelRows, PlaceNamesHeaderAndDataAsAsked) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "Paid,Who\r\nyes,Ann\r\n ,Bob\r\n");
  ExportRequest request = BinaryRequest(ExportFormat::Excel, dir.File("in.csv"), dir.File("out.xls"),
                                        {Field("Paid", Type::Bit, 1), Field("Name", Type::Char, 10)});
  request.hasHeaderRow = GetParam().hasHeaderRow;
  request.includeHeaderRow = GetParam().includeHeaderRow;
  request.includeFieldNames = GetParam().includeFieldNames;
  EXPECT_EQ(ExportOutcome::Exported, ExportFile(request).outcome);
  const std::string dump = testing::RunPython(kXlrdDump, dir.File("out.xls"));
  EXPECT_EQ(GetParam().rows, dump.substr(dump.find('\n') + 1));
}

INSTANTIATE_TEST_SUITE_P(
    , ExcelRows,
    ::testing::Values(
        PlacementCase{true, true, true, "t:Paid|t:Name\nt:Paid|t:Who\nb:1|t:Ann\n-:|t:Bob\n"},
        PlacementCase{true, false, true, "t:Paid|t:Name\nb:1|t:Ann\n-:|t:Bob\n"},
        PlacementCase{true, true, false, "t:Paid|t:Who\nb:1|t:Ann\n-:|t:Bob\n"},
        PlacementCase{true, false, false, "b:1|t:Ann\n-:|t:Bob\n"},
        // Without a header row no line is lost, whatever the box says.
        PlacementCase{false, true, false, "b:0|t:Who\nb:1|t:Ann\n-:|t:Bob\n"},
        PlacementCase{false, false, false, "b:0|t:Who\nb:1|t:Ann\n-:|t:Bob\n"}),
    testing::PrintedCaseName{});

TEST(ExcelExport, KeepsLongSharedStringsWholeAcrossContinueRecords) {
  TempDir dir;
  std::string input;
  for (int i = 0; i < 40; ++i) {
    input += std::string(1000 + i * 37, static_cast<char>('a' + i % 26)) + ",Zo\xC3\xAB " + std::to_string(i) + "\r\n";
  }
  input += std::string(40000, 'z') + ",\r\n";
  WriteBytes(dir.File("in.csv"), input);
  ExportRequest request = BinaryRequest(ExportFormat::Excel, dir.File("in.csv"), dir.File("out.xls"),
                                        {Field("Long", Type::Char, 254), Field("Accent", Type::Char, 10)});
  // The one text longer than a cell holds is cut, logged and counted.
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(1, result.valuesCut);
  EXPECT_EQ("Row: 41 Col: 1 (Field Long) : the value of Long was cut to 32767 characters\r\n",
            ReadBytes(dir.File("ErrorLog.txt")));
  const std::string check = testing::RunPython(
      "import sys, xlrd\n"
      "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
      "for i in range(40):\n"
      "    assert s.cell_value(i, 0) == chr(97 + i % 26) * (1000 + i * 37), i\n"
      "    assert s.cell_value(i, 1) == 'Zo\\u00eb %d' % i, i\n"
      "assert s.cell_value(40, 0) == 'z' * 32767\n"
      "print('ok')\n",
      dir.File("out.xls"));
  EXPECT_EQ("ok\n", check);
  testing::RunCommand("ssconvert " + dir.File("out.xls") + " " + dir.File("out.csv") + " 2>&1");
  const std::string csv = ReadBytes(dir.File("out.csv"));
  EXPECT_NE(std::string::npos, csv.find(std::string(1000 + 39 * 37, 'n') + ",\"Zo\xC3\xAB 39\"\n")) << csv.substr(csv.size() - 200);
}

// The first SST record holds 4106 UTF-16 units of a first string after its counts and header,
// a CONTINUE 4111 more: an emoji (a surrogate pair) put at every unit around each boundary must
// come back whole in both readers.
TEST(ExcelExport, KeepsAnEmojiWholeAtEveryOffsetAroundTheContinueBoundary) {
  const std::string emoji = "\xF0\x9F\x98\x80";
  for (const int before : {4103, 4104, 4105, 4106, 4107, 10215, 10216, 10217, 10218}) {
    SCOPED_TRACE(before);
    TempDir dir;
    WriteBytes(dir.File("in.csv"), std::string(before, 'a') + emoji + "b\r\n");
    const ExportRequest request = BinaryRequest(ExportFormat::Excel, dir.File("in.csv"), dir.File("out.xls"),
                                                {Field("Text", Type::Char, 254)});
    ASSERT_EQ(ExportOutcome::Exported, ExportFile(request).outcome);
    EXPECT_EQ("ok\n", testing::RunPython("import sys, xlrd\n"
                                         "v = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0).cell_value(0, 0)\n"
                                         "assert v == 'a' * " + std::to_string(before) + " + '\\U0001F600b', v[-5:]\n"
                                         "print('ok')\n",
                                         dir.File("out.xls")));
    testing::RunCommand("ssconvert " + dir.File("out.xls") + " " + dir.File("out.csv") + " 2>&1");
    EXPECT_EQ(std::string(before, 'a') + emoji + "b\n", ReadBytes(dir.File("out.csv")));
  }
}

TEST(ExcelExport, StopsAtTheLastRowASheetHolds) {
  TempDir dir;
  std::string input;
  for (int i = 0; i < 70000; ++i) input += std::to_string(i) + "\r\n";
  WriteBytes(dir.File("in.csv"), input);
  ExportRequest request = BinaryRequest(ExportFormat::Excel, dir.File("in.csv"), dir.File("out.xls"),
                                        {Field("N", Type::Long, 0)});
  request.includeFieldNames = true;
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ("A worksheet holds at most 65536 rows and 256 columns: 65536 rows were written",
            result.messages.at(0));
  EXPECT_EQ("65536 65534\n", testing::RunPython("import sys, xlrd\n"
                                               "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                               "print(s.nrows, s.cell_value(65535, 0))\n",
                                               dir.File("out.xls")));
}

TEST(ExcelExport, NeverReportsSuccessWhenTheDiskFills) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "Ann,yes\r\n");
  const ExportRequest request = BinaryRequest(ExportFormat::Excel, dir.File("in.csv"), dir.File("out.xls"),
                                              {Field("Name", Type::Char, 10), Field("Paid", Type::Bit, 1)});
  for (std::uint64_t budget : {0, 1, 511, 512, 1024, 2047, 2048, 3071}) {
    testing::FailingOutputFiles files(budget);
    EXPECT_EQ(ExportOutcome::Failed, ExportFile(request, files).outcome) << "after " << budget << " bytes";
  }
  testing::FailingOutputFiles enough(3072);
  EXPECT_EQ(ExportOutcome::Exported, ExportFile(request, enough).outcome);
}

}  // namespace
}  // namespace quorlin
