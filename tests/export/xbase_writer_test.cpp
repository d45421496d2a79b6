#include "export/dbf/xbase_writer.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>

#include "export/binary_export_support.h"
#include "export/dbf/dbf_format.h"
#include "export/dbf/dbf_record.h"
#include "export/export_writers.h"
#include "export/failing_outputs.h"
#include "export/value_reading.h"
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

ExportFields WorkedExampleFields() {
  return {Field("NAME_OF_CUSTOMER", Type::Char, 10), Field("Paid", Type::Date, 8),
          Field("Member", Type::Bit, 1)};
}

std::string Descriptor(std::string name, char letter, int length, int decimals) {
  name.resize(11, '\0');
  return name + letter + std::string(4, '\0') + static_cast<char>(length) +
         static_cast<char>(decimals) + std::string(14, '\0');
}

TEST(DbfHeader, IsLaidOutByteForByte) {
  const std::string header = MakeDbfHeader(DbfColumnsFor(WorkedExampleFields()), 70000, 20, {2002, 3, 4});
  const std::string expected = std::string("\x03\x66\x03\x04\x70\x11\x01\x00\x81\x00\x14\x00", 12) +
                               std::string(20, '\0') + Descriptor("NAME_OF_CU", 'C', 10, 0) +
                               Descriptor("Paid", 'D', 8, 0) + Descriptor("Member", 'L', 1, 0) + "\r";
  ASSERT_EQ(129u, header.size());
  EXPECT_SAME_BYTES(expected, header);
}

TEST(DbfHeader, StoresTheYearAfter1900InItsFirstDateByte) {
  EXPECT_EQ("\x03\x63\x0C\x1F", MakeDbfHeader({}, 0, 1, {1999, 12, 31}).substr(0, 4));
  EXPECT_EQ("\x03\x66\x01\x01", MakeDbfHeader({}, 0, 1, {2002, 1, 1}).substr(0, 4));
}

TEST(DbfColumnNames, AreCutUniqueAndNeverBlank) {
  EXPECT_EQ((std::vector<std::string>{"CustomerNa", "Customer_2", "FIELD3", "customer_3", "Zo\xC3\xAB"}),
            DbfColumnNames({"CustomerNameFirst", "CustomerNameLast", " ", "customerNa", "Zo\xC3\xAB"}));
  // A two-byte character at bytes 10 and 11 is not cut in half.
  EXPECT_EQ("ABCDEFGHI", DbfColumnNames({"ABCDEFGHI\xC3\xAB"})[0]);
}

struct RecordCase {
  ExportField field;
  std::string value;
  std::string text;  // the field's bytes in the record
  bool rejected;
};

void PrintTo(const RecordCase& c, std::ostream* out) {
  *out << TypeName(c.field.typeCode) << " " << c.field.length << " from '" << c.value << "'";
}

class DbfValues : public ::testing::TestWithParam<RecordCase> {};

TEST_P(DbfValues, BecomeFieldTextOrAreRejected) {
  const ExportFields fields = {GetParam().field};
  DbfRecord record;
  MakeDbfRecord(fields, {GetParam().value}, GetParam().field.length + 1, LocaleSettings{}, record);
  EXPECT_EQ(" " + GetParam().text, record.bytes);
  EXPECT_EQ(GetParam().rejected, !record.rejectedFields.empty());
  EXPECT_FALSE(record.notANumberField);
}

INSTANTIATE_TEST_SUITE_P(
    , DbfValues,
    ::testing::Values(
        RecordCase{Field("B", Type::Bit, 1), "", "?", false},
        RecordCase{Field("B", Type::Bit, 1), "  ", "?", false},
        RecordCase{Field("B", Type::Bit, 1), "no", "N", false},
        RecordCase{Field("B", Type::Bit, 1), "On", "Y", false},
        RecordCase{Field("D", Type::Date, 8), "03/04/2002", "20020304", false},
        RecordCase{Field("D", Type::Date, 8), "", "        ", true},
        RecordCase{Field("D", Type::Date, 8), "soon", "        ", true},
        RecordCase{Field("D", Type::Date, 8), "10:30", "        ", true},  // a time alone
        RecordCase{Field("T", Type::Time, 8), "10:30:00 PM", "22:30:00", false},
        RecordCase{Field("T", Type::Time, 8), "10:30PM", "22:30:00", false},
        RecordCase{Field("T", Type::Time, 8), "late", "        ", true},
        RecordCase{Field("F", Type::Float, 19), "12.5", "             12.50 ", false},
        RecordCase{Field("F", Type::Float, 19), "-1e3", "          -1000.00 ", false},
        RecordCase{Field("F", Type::Float, 19), " ", std::string(19, ' '), false},
        RecordCase{Field("F", Type::Float, 19), "1e20", std::string(19, ' '), true},  // too wide
        RecordCase{Field("N", Type::Byte, 3), "123", "123", false},
        RecordCase{Field("N", Type::Byte, 3), "1234", "   ", true},
        RecordCase{Field("N", Type::Integer, 9), " 42 ", "42       ", false},
        RecordCase{Field("N", Type::Integer, 9), "4x2", "         ", true},
        RecordCase{Field("N", Type::Long, 19), "", std::string(19, ' '), false},
        RecordCase{Field("C", Type::Char, 4), "Zo\xC3\xAB!", "Zo\xC3\xAB", false},
        RecordCase{Field("C", Type::Char, 3), "Zo\xC3\xAB", "Zo ", false}),
    testing::PrintedCaseName{});

TEST(DbfRecord, MatchesTheWorkedExampleAndLeavesMissingFieldsBlank) {
  DbfRecord record;
  MakeDbfRecord(WorkedExampleFields(), {"Smith", "03/04/2002", "yes", "extra"}, 20, LocaleSettings{}, record);
  EXPECT_EQ(" Smith     20020304Y", record.bytes);
  MakeDbfRecord(WorkedExampleFields(), {"Smith"}, 20, LocaleSettings{}, record);
  EXPECT_EQ(" Smith              ", record.bytes);
}

TEST(DbfRecord, NamesEachRejectedValueForTheLogWithTheRecordText) {
  const ExportFields fields = {Field("A", Type::Date, 8), Field("B", Type::Date, 8), Field("C", Type::Char, 2)};
  DbfRecord record;
  MakeDbfRecord(fields, {"x", "y", "ok"}, 19, LocaleSettings{}, record);
  EXPECT_EQ((std::vector<std::size_t>{0, 1}), record.rejectedFields);
  EXPECT_EQ("                 ok>> y <<", record.LogText("y"));
  EXPECT_TRUE(record.cutFields.empty());
}

TEST(DbfRecord, NotesTextCutToItsFieldButNotBlanksPastIt) {
  const ExportFields fields = {Field("A", Type::Char, 3), Field("B", Type::Char, 3)};
  DbfRecord record;
  MakeDbfRecord(fields, {"abcd", "xy    "}, 7, LocaleSettings{}, record);
  EXPECT_EQ(" abcxy ", record.bytes);
  EXPECT_EQ(std::vector<std::size_t>{0}, record.cutFields);
}

TEST(DbfRecord, WritesFloatsWithAFullStopWhateverTheLocale) {
  LocaleSettings german;
  german.decimalSeparator = ',';
  DbfRecord record;
  MakeDbfRecord({Field("F", Type::Float, 19)}, {"12,5"}, 20, german, record);
  EXPECT_EQ("              12.50 ", record.bytes);
}

// Plain decimals take a short way round reading and formatting a double; it must give the
// same digits as the number read from the text, also at the edges of that short way.
TEST(DbfRecord, FormatsPlainDecimalsAsTheNumberReadFromThem) {
  const char* texts[] = {"0", "007", "-0.5", "+3.1", ".25", "5.", "-0", "-0.00", "12.345", "99999.99",
                         "123456789012345", "1234567890123456", "0.000000000000001", " -42.10 "};
  for (const int decimals : {0, 2, 3}) {
    ExportField field = Field("F", Type::Float, 19);
    field.decimals = decimals;
    for (const char* text : texts) {
      char digits[64];
      const auto [end, error] = std::to_chars(digits, digits + sizeof digits, *ReadNumber(text, LocaleSettings{}),
                                              std::chars_format::fixed, decimals);
      ASSERT_EQ(error, std::errc());
      const std::string number(digits, end);
      DbfRecord record;
      MakeDbfRecord({field}, {text}, 20, LocaleSettings{}, record);
      const std::string expected = number.size() > 18 ? std::string(19, ' ')
                                                      : std::string(18 - number.size(), ' ') + number + " ";
      EXPECT_EQ(" " + expected, record.bytes) << text << " with " << decimals << " decimals";
    }
  }
}

class XBaseExport : public ::testing::Test {
 protected:
  ExportResult Export(const std::string& input, ExportFields fields) {
    WriteBytes(dir_.File("in.csv"), input);
    ExportRequest request = BinaryRequest(ExportFormat::XBase, dir_.File("in.csv"), dir_.File("out.dbf"),
                                          std::move(fields));
    return ExportFile(request);
  }
  std::string Output() { return ReadBytes(dir_.File("out.dbf")); }
  std::string Log() { return ReadBytes(dir_.File("ErrorLog.Txt")); }

  TempDir dir_;
};

TEST_F(XBaseExport, LogsARejectedDateAndNamesTheLogAsCreated) {
  std::string input;
  for (int i = 1; i <= 7; ++i) input += i == 7 ? "Smith,someday,yes\r\n" : "Jones,03/04/2002,no\r\n";
  const ExportResult result = Export(input, WorkedExampleFields());
  EXPECT_EQ(ExportOutcome::Exported, result.outcome);
  EXPECT_EQ("7 :  Smith             Y>> someday <<\r\n", Log());
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_EQ("Errors found whilst creating xBASE Statements\nSee " + dir_.Path() +
                "ErrorLog.Txt\nfor rejected Data",
            result.messages[0]);
  const std::string out = Output();
  EXPECT_EQ(129u + 7 * 20 + 1, out.size());
  EXPECT_EQ('\x1A', out.back());
}

TEST_F(XBaseExport, StopsAtAFloatThatIsNoNumberLeavingTheOldOutput) {
  WriteBytes(dir_.File("out.dbf"), "old");
  const ExportResult result =
      Export("1.5\r\n2\r\nabc\r\n4\r\n", {Field("Amount", Type::Float, 19)});
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_TRUE(result.stoppedEarly);
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_EQ("Record 3: the Float value \"abc\" of Amount is not a number", result.messages[0]);
  EXPECT_EQ("old", Output());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("ErrorLog.Txt")));
}

// Every number the recognisers accept converts, a tiny one to zero; one past the largest double
// is refused in the words the driver uses for it.
TEST_F(XBaseExport, ReadsATinyNumberAsZeroAndStopsAtOneBeyondADouble) {
  DbfRecord record;
  MakeDbfRecord({Field("F", Type::Float, 19)}, {"1e-400"}, 20, LocaleSettings{}, record);
  EXPECT_EQ("               0.00 ", record.bytes);
  EXPECT_FALSE(record.notANumberField);

  const ExportResult result = Export("1.5\r\n1e400\r\n", {Field("Amount", Type::Float, 19)});
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_EQ("Record 2: Amount: " + NumberOutOfRangeMessage("1e400"), result.messages[0]);
}

// The header's count is patched to the records written, whatever the first pass counted.
TEST_F(XBaseExport, CountsTheRecordsWrittenAndLogsEachCutText) {
  const ExportResult result =
      Export("abcdef,x\r\nab,yy\r\nabcd  ,xyz\r\n", {Field("Name", Type::Char, 4), Field("Code", Type::Char, 2)});
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(2, result.valuesCut);
  EXPECT_EQ("1 : the value of Name was cut to 4 characters\r\n3 : the value of Code was cut to 2 characters\r\n",
            Log());
  EXPECT_EQ(std::string("\x03\0\0\0", 4), Output().substr(4, 4));
}

TEST_F(XBaseExport, RefusesAFieldTooWideBeforeCreatingAnything) {
  const ExportResult result = Export("a\r\n", {Field("Notes", Type::Char, 300)});
  EXPECT_EQ(ExportOutcome::Refused, result.outcome);
  EXPECT_EQ("The field Notes is 300 characters wide; a dBase field holds at most 254", result.messages.at(0));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.dbf")));
}

TEST_F(XBaseExport, ReadsBackInDbfreadAndOgrinfo) {
  Export("Zo\xC3\xAB,03/04/2002,yes,12.5,42,22:15\r\n,,no,,,\r\n",
         {Field("CustomerNameFirst", Type::Char, 10), Field("CustomerNameLast", Type::Date, 8),
          Field("Member", Type::Bit, 1), Field("Amount", Type::Float, 19), Field("Count", Type::Long, 19),
          Field("At", Type::Time, 8)});
  const std::string read = testing::RunPython(
      "import sys, dbfread\n"
      "t = dbfread.DBF(sys.argv[1], encoding='utf-8')\n"
      "print(t.field_names)\n"
      "for r in t: print(list(r.values()))\n",
      dir_.File("out.dbf"));
  EXPECT_EQ("['CustomerNa', 'Customer_2', 'Member', 'Amount', 'Count', 'At']\n"
            "['Zoë', datetime.date(2002, 3, 4), True, 12.5, 42, '22:15:00']\n"
            "['', None, False, None, None, '']\n",
            read);
  const std::string ogr = testing::RunCommand("ogrinfo -ro -al -q " + dir_.File("out.dbf") + " 2>&1").out;
  EXPECT_NE(std::string::npos, ogr.find("OGRFeature(out):0\n"
                                        "  CustomerNa (String) = Zo\xC3\xAB\n"
                                        "  Customer_2 (Date) = 2002/03/04\n"
                                        "  Member (String) = Y\n"
                                        "  Amount (Real) = 12.50\n"
                                        "  Count (Real) = 42\n"
                                        "  At (String) = 22:15:00\n"))
      << ogr;
}

TEST_F(XBaseExport, NeverReportsSuccessWhenTheDiskFills) {
  WriteBytes(dir_.File("in.csv"), "Smith,03/04/2002,yes\r\nJones,bad,no\r\n");
  const ExportRequest request =
      BinaryRequest(ExportFormat::XBase, dir_.File("in.csv"), dir_.File("out.dbf"), WorkedExampleFields());
  MemoryOutputFiles memory;
  ASSERT_EQ(ExportOutcome::Exported, ExportFile(request, memory).outcome);
  const std::uint64_t complete =
      memory.Bytes(dir_.File("out.dbf")).size() + memory.Bytes(dir_.File("ErrorLog.Txt")).size();
  for (std::uint64_t budget = 0; budget < complete; ++budget) {
    testing::FailingOutputFiles files(budget);
    EXPECT_EQ(ExportOutcome::Failed, ExportFile(request, files).outcome) << "after " << budget << " bytes";
  }
}

}  // namespace
}  // namespace quorlin
