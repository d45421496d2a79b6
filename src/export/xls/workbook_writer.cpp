#include "export/xls/workbook_writer.h"

#include <algorithm>

#include "export/little_endian.h"
#include "export/xls/biff_records.h"
#include "export/xls/compound_file.h"

namespace quorlin {

namespace {

constexpr std::string_view kStreamName = "Workbook";
constexpr std::string_view kSheetName = "Sheet 1";
constexpr std::uint16_t kUtf16CodePage = 1200;
constexpr std::uint16_t kFontTwips = 200;
constexpr int kFontCount = 5;
constexpr int kStyleXfCount = 15;
constexpr std::uint16_t kDefaultColumnWidth = 8;
constexpr std::uint16_t kDefaultRowTwips = 255;

}  // namespace

WorkbookWriter::WorkbookWriter() = default;

void WorkbookWriter::SetNumberFormat(std::uint16_t index, std::string formatText) {
  for (auto& [existing, text] : numberFormats_) {
    if (existing == index) {
      text = std::move(formatText);
      return;
    }
  }
  numberFormats_.emplace_back(index, std::move(formatText));
}

void WorkbookWriter::NoteCell(std::uint16_t column, std::uint16_t row) {
  if (!anyCell_) {
    firstRow_ = row;
    firstColumn_ = column;
    anyCell_ = true;
  }
  endRow_ = std::max<std::uint32_t>(endRow_, row + 1u);
  firstColumn_ = std::min(firstColumn_, column);
  endColumn_ = std::max<std::uint16_t>(endColumn_, static_cast<std::uint16_t>(column + 1));
}

void WorkbookWriter::PutText(std::uint16_t column, std::uint16_t row, std::string_view text) {
  NoteCell(column, row);
  PutLabelSst(cells_, row, column, strings_.Add(text));
}

void WorkbookWriter::PutBoolean(std::uint16_t column, std::uint16_t row, bool value) {
  NoteCell(column, row);
  PutBoolErr(cells_, row, column, value);
}

void WorkbookWriter::PutBlank(std::uint16_t column, std::uint16_t row) {
  NoteCell(column, row);
  quorlin::PutBlank(cells_, row, column);
}

// The sheet's BOF follows the globals directly, so its offset is the globals' length.
std::string WorkbookWriter::Globals() const {
  std::string globals;
  PutBof(globals, SubstreamType::Globals);
  PutCodepage(globals, kUtf16CodePage);
  PutWindow1(globals);
  for (int i = 0; i < kFontCount; ++i) PutFont(globals, kFontTwips);
  for (const auto& [index, text] : numberFormats_) PutFormat(globals, index, text);
  for (int i = 0; i < kStyleXfCount; ++i) PutStyleXf(globals);
  PutCellXf(globals);
  PutNormalStyle(globals);
  const std::size_t sheetOffsetField = PutBoundSheet(globals, kSheetName);
  strings_.PutRecords(globals);
  PutEof(globals);
  storeU32le(globals, sheetOffsetField, static_cast<std::uint32_t>(globals.size()));
  return globals;
}

std::string WorkbookWriter::SheetHead() const {
  std::string head;
  PutBof(head, SubstreamType::Worksheet);
  PutDefColWidth(head, kDefaultColumnWidth);
  PutDefaultRowHeight(head, kDefaultRowTwips);
  PutDimensions(head, firstRow_, endRow_, firstColumn_, endColumn_);
  return head;
}

std::string WorkbookWriter::SheetTail() {
  std::string tail;
  PutWindow2(tail);
  PutEof(tail);
  return tail;
}

std::string WorkbookWriter::Stream() const {
  return Globals() + SheetHead() + cells_ + SheetTail();
}

void WorkbookWriter::Save(const std::function<void(std::string_view)>& write) const {
  const std::string globals = Globals();
  WriteCompoundFile(kStreamName, {globals, SheetHead(), cells_, SheetTail()}, write);
}

}  // namespace quorlin
