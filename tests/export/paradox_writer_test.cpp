#include "export/paradox/paradox_writer.h"

#include "export/paradox/paradox_table.h"
#include "export/pipeline/byte_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "export/binary_export_support.h"
#include "export/export_writers.h"
#include "export/failing_outputs.h"
#include "support/test_files.h"

extern "C" {
#include <paradox.h>
}

namespace quorlin {
namespace {

using testing::BinaryRequest;
using testing::Field;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Type = ExportFieldType;

struct ReadTable {
  std::vector<std::string> columns;  // "name type size"
  std::vector<std::vector<std::string>> rows;
};

// The table as pxlib reads it; a null value (all its bytes zero) reads as "null".
ReadTable ReadThroughPxlib(const std::string& path) {
  ReadTable table;
  pxdoc_t* doc = PX_new();
  if (PX_open_file(doc, path.c_str()) < 0) {
    PX_delete(doc);
    return table;
  }
  const int count = PX_get_num_fields(doc);
  pxfield_t* fields = PX_get_fields(doc);
  for (int i = 0; i < count; ++i) {
    table.columns.push_back(std::string(fields[i].px_fname) + " " + std::to_string(fields[i].px_ftype) +
                            " " + std::to_string(fields[i].px_flen));
  }
  std::vector<char> record(static_cast<std::size_t>(PX_get_recordsize(doc)));
  for (int r = 0; r < PX_get_num_records(doc); ++r) {
    PX_get_record(doc, r, record.data());
    std::vector<std::string> row;
    char* data = record.data();
    for (int i = 0; i < count; ++i) {
      const pxfield_t& field = fields[i];
      std::string text = "null";
      long whole = 0;
      double real = 0;
      short small = 0;
      char byte = 0;
      char* alpha = nullptr;
      const bool null = std::all_of(data, data + field.px_flen, [](char c) { return c == 0; });
      switch (null ? 0 : field.px_ftype) {
        case pxfAlpha:
          if (PX_get_data_alpha(doc, data, field.px_flen, &alpha) > 0) {
            text = alpha;
            doc->free(doc, alpha);
          }
          break;
        case pxfLong:
          if (PX_get_data_long(doc, data, field.px_flen, &whole) > 0) text = std::to_string(whole);
          break;
        case pxfShort:
          if (PX_get_data_short(doc, data, field.px_flen, &small) > 0) text = std::to_string(small);
          break;
        case pxfLogical:
          if (PX_get_data_byte(doc, data, field.px_flen, &byte) > 0) text = byte ? "true" : "false";
          break;
        case pxfNumber:
          if (PX_get_data_double(doc, data, field.px_flen, &real) > 0) text = std::to_string(real);
          break;
        case pxfDate:
          if (PX_get_data_long(doc, data, field.px_flen, &whole) > 0) {
            char* date = PX_date2string(doc, whole, "Y-m-d");
            text = date;
            doc->free(doc, date);
          }
          break;
        case pxfTime:
          if (PX_get_data_long(doc, data, field.px_flen, &whole) > 0) {
            char* time = PX_time2string(doc, whole, "H:i:s");
            text = time;
            doc->free(doc, time);
          }
          break;
      }
      row.push_back(text);
      data += field.px_flen;
    }
    table.rows.push_back(row);
  }
  PX_close(doc);
  PX_delete(doc);
  return table;
}

TEST(ParadoxExport, ReadsBackThroughPxlibWithEveryTypeConverted) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"),
             "Name,Count,Small,Paid,Amount,Day,At\r\n"
             "Zo\xC3\xAB,70000,-12,yes,12.5,03/04/2002,10:30:00 PM\r\n"
             ",-5,,no,,,\r\n");
  ExportRequest request = BinaryRequest(
      ExportFormat::Paradox, dir.File("in.csv"), dir.File("orders.db"),
      {Field("A name longer than twenty-five bytes", Type::Char, 10), Field("Count", Type::Long, 18),
       Field("Small", Type::Byte, 3), Field("Paid", Type::Bit, 1), Field("Amount", Type::Float, 18),
       Field("Day", Type::Date, 4), Field("A name longer than twenty-five bytes too", Type::Time, 4)});
  request.hasHeaderRow = true;
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Exported, result.outcome);
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ("", ReadBytes(dir.File("ErrorLog.txt")));

  const ReadTable table = ReadThroughPxlib(dir.File("orders.db"));
  EXPECT_EQ((std::vector<std::string>{"A name longer than twenty 1 10", "Count 4 4", "Small 3 2", "Paid 9 1",
                                      "Amount 6 8", "Day 2 4", "A name longer than twen_2 20 4"}),
            table.columns);
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ((std::vector<std::string>{"Zo\xEB", "70000", "-12", "true", "12.500000", "2002-03-04", "22:30:00"}),
            table.rows[0]);
  EXPECT_EQ((std::vector<std::string>{"null", "-5", "null", "false", "null", "null", "null"}), table.rows[1]);
}

TEST(ParadoxExport, LogsEveryRefusedValueAndLeavesItsColumnNull) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "a,1,03/04/2002\r\nb,x,soon\r\n\xE6\x97\xA5,2,10:30,extra\r\n");
  ExportRequest request =
      BinaryRequest(ExportFormat::Paradox, dir.File("in.csv"), dir.File("orders.db"),
                    {Field("Name", Type::Char, 4), Field("Count", Type::Integer, 8), Field("Day", Type::Date, 4)});
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Exported, result.outcome);
  ASSERT_EQ(1u, result.messages.size());
  EXPECT_EQ("Errors found whilst creating Paradox Statements\nSee " + dir.Path() + "ErrorLog.txt\nfor rejected Data",
            result.messages[0]);
  EXPECT_EQ("Row: 2 Col: 2 (Field Count) : x\r\n"
            "Row: 2 Col: 3 (Field Day) : soon\r\n"
            "Row: 3 Col: 1 (Field Name) : \xE6\x97\xA5\r\n"   // not in code page 1252
            "Row: 3 Col: 3 (Field Day) : 10:30\r\n"           // a time is no date
            "Row: 3 Col: 4 (Field ) : extra\r\n",
            ReadBytes(dir.File("ErrorLog.txt")));
  const ReadTable table = ReadThroughPxlib(dir.File("orders.db"));
  ASSERT_EQ(3u, table.rows.size());
  EXPECT_EQ((std::vector<std::string>{"b", "null", "null"}), table.rows[1]);
  EXPECT_EQ((std::vector<std::string>{"null", "2", "null"}), table.rows[2]);
}

TEST(ParadoxExport, LogsAndCountsTextCutToItsField) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "abcdef,x\r\nabc   ,y\r\n");
  const ExportRequest request = BinaryRequest(ExportFormat::Paradox, dir.File("in.csv"), dir.File("t.db"),
                                              {Field("Name", Type::Char, 3), Field("Code", Type::Char, 1)});
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Failed, result.outcome);
  EXPECT_EQ(1, result.valuesCut);
  EXPECT_EQ("Row: 1 Col: 1 (Field Name) : the value of Name was cut to 3 characters\r\n",
            ReadBytes(dir.File("ErrorLog.txt")));
  const ReadTable table = ReadThroughPxlib(dir.File("t.db"));
  ASSERT_EQ(2u, table.rows.size());
  EXPECT_EQ((std::vector<std::string>{"abc", "x"}), table.rows[0]);
}

// 65 text fields without a width count 254 bytes each: more than one of pxlib's blocks holds.
TEST(ParadoxExport, RefusesARecordLargerThanABlockBeforeCreatingAnything) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "a\r\n");
  ExportFields fields;
  for (int i = 0; i < 65; ++i) fields.push_back(Field("F" + std::to_string(i), Type::Char, 254));
  const ExportRequest request = BinaryRequest(ExportFormat::Paradox, dir.File("in.csv"), dir.File("t.db"), fields);
  const ExportResult result = ExportFile(request);
  EXPECT_EQ(ExportOutcome::Refused, result.outcome);
  EXPECT_EQ(std::vector<std::string>{"A record of these fields takes 16510 bytes; a Paradox record holds at most 16378"},
            result.messages);
  EXPECT_FALSE(std::filesystem::exists(dir.File("t.db")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("ErrorLog.txt")));
  fields.pop_back();
  EXPECT_EQ(ExportOutcome::Exported,
            ExportFile(BinaryRequest(ExportFormat::Paradox, dir.File("in.csv"), dir.File("t.db"), fields)).outcome);
  EXPECT_EQ(1u, ReadThroughPxlib(dir.File("t.db")).rows.size());
}

// pxlib stores the same rows one by one; the data blocks and the header's counts must come out
// byte for byte the same, for tables of one block, around a block's end and of many blocks.
TEST(ParadoxTable, WritesTheBlocksAndCountsPxlibWrites) {
  TempDir dir;
  const std::vector<ParadoxColumn> columns = {{"Name", ParadoxType::Alpha, 30}, {"Count", ParadoxType::Long, 0}};
  for (const int rows : {1, 59, 60, 61, 1000}) {
    SCOPED_TRACE(rows);
    std::FILE* file = std::fopen(dir.File("pxlib.db").c_str(), "w+");
    pxdoc_t* doc = PX_new();
    auto* fields = static_cast<pxfield_t*>(std::calloc(2, sizeof(pxfield_t)));
    fields[0] = {strdup("Name"), pxfAlpha, 30, 0};
    fields[1] = {strdup("Count"), pxfLong, 4, 0};
    ASSERT_GE(PX_create_fp(doc, fields, 2, file, pxfFileTypNonIndexDB), 0);
    PX_set_value(doc, "codepage", ParadoxTable::kDefaultCodePage);
    PX_set_tablename(doc, "t.db");
    ParadoxTable table(columns, "t.db");
    FileSink ours(dir.File("ours.db"));
    table.Start(ours, rows);
    for (int i = 0; i < rows; ++i) {
      std::string row(34, '\0');
      const std::string name = "row " + std::to_string(i);
      row.replace(0, name.size(), name);
      PX_put_data_long(doc, row.data() + 30, 4, i);
      PX_put_record(doc, row.data());
      table.SetAlpha(0, name);
      table.SetLong(1, i);
      table.AppendRow();
    }
    PX_close(doc);
    PX_delete(doc);
    std::fclose(file);
    table.Finish();
    ours.Close();
    const std::string expected = ReadBytes(dir.File("pxlib.db"));
    const std::string actual = ReadBytes(dir.File("ours.db"));
    ASSERT_EQ(expected.size(), actual.size());
    // Bytes 0x30 to 0x37 hold pxlib's own memory addresses, different in every run.
    EXPECT_EQ(expected.substr(0, 0x30), actual.substr(0, 0x30));
    EXPECT_EQ(expected.substr(0x38, 4), actual.substr(0x38, 4));
    EXPECT_TRUE(expected.substr(2048) == actual.substr(2048));
    EXPECT_EQ(static_cast<std::size_t>(rows), ReadThroughPxlib(dir.File("ours.db")).rows.size());
  }
}

// More rows than 65535 blocks of pxlib's size hold get larger blocks, which pxlib reads too.
TEST(ParadoxTable, TakesLargerBlocksForManyRows) {
  TempDir dir;
  ParadoxTable table({{"Name", ParadoxType::Alpha, 255}}, "t.db");
  FileSink out(dir.File("t.db"));
  table.Start(out, 5000000);
  for (int i = 0; i < 300; ++i) {
    table.SetAlpha(0, "row " + std::to_string(i));
    table.AppendRow();
  }
  table.Finish();
  out.Close();
  const std::string bytes = ReadBytes(dir.File("t.db"));
  EXPECT_EQ(32, bytes[5]);
  const ReadTable read = ReadThroughPxlib(dir.File("t.db"));
  ASSERT_EQ(300u, read.rows.size());
  EXPECT_EQ("row 299", read.rows[299][0]);
}

TEST(ParadoxExport, NeverReportsSuccessWhenTheDiskFills) {
  TempDir dir;
  WriteBytes(dir.File("in.csv"), "a,1\r\n");
  const ExportRequest request = BinaryRequest(ExportFormat::Paradox, dir.File("in.csv"), dir.File("t.db"),
                                              {Field("Name", Type::Char, 4), Field("Count", Type::Long, 18)});
  for (std::uint64_t budget : {0, 1, 2048, 4095}) {
    testing::FailingOutputFiles files(budget);
    EXPECT_EQ(ExportOutcome::Failed, ExportFile(request, files).outcome) << "after " << budget << " bytes";
  }
}

}  // namespace
}  // namespace quorlin
