// A BIFF8 workbook of one worksheet, built in memory and written in one go.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/xls/shared_strings.h"

namespace quorlin {

class WorkbookWriter {
 public:
  static constexpr std::uint32_t kMaxRows = 65536;
  static constexpr std::uint32_t kMaxColumns = 256;

  // A workbook with the fixed settings and one empty worksheet "Sheet 1".
  WorkbookWriter();

  // Sets entry `index` of the number-format table.
  void SetNumberFormat(std::uint16_t index, std::string formatText);

  // Cells are put row by row, each row from left to right (column < kMaxColumns, row <
  // kMaxRows). Every cell uses the default cell format.
  void PutText(std::uint16_t column, std::uint16_t row, std::string_view text);
  void PutBoolean(std::uint16_t column, std::uint16_t row, bool value);
  void PutBlank(std::uint16_t column, std::uint16_t row);

  // The workbook stream: the globals substream followed by the worksheet substream.
  std::string Stream() const;
  // The whole file: the stream in its compound-document container, in file order to `write`.
  void Save(const std::function<void(std::string_view)>& write) const;

 private:
  void NoteCell(std::uint16_t column, std::uint16_t row);
  std::string Globals() const;
  std::string SheetHead() const;
  static std::string SheetTail();

  std::vector<std::pair<std::uint16_t, std::string>> numberFormats_;
  SharedStrings strings_;
  std::string cells_;
  bool anyCell_ = false;
  std::uint32_t firstRow_ = 0;
  std::uint32_t endRow_ = 0;
  std::uint16_t firstColumn_ = 0;
  std::uint16_t endColumn_ = 0;
};

}  // namespace quorlin
