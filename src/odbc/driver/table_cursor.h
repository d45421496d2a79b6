// The records of a table file, streamed one at a time: the one place the driver reads rows.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/driver/cell_value.h"
#include "odbc/driver/sql_error.h"
#include "odbc/driver/table_layout.h"
#include "text/fixed_fields.h"

namespace quorlin {
class TextRecordReader;
}

namespace quorlin::driver {

// A record longer than this is refused rather than cut: a silent cut would give wrong values.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{64} << 20;

// The failure of a record past kMaxRecordBytes at `line` of the file at `path`.
SqlError RecordTooLong(const std::string& path, long long line);

class TableCursor {
 public:
  // Opens the file the layout names, refusing a link put in its place since the layout was
  // read; raises SqlError HY000 when it cannot be opened.
  explicit TableCursor(const TableLayout& layout);
  ~TableCursor();
  TableCursor(const TableCursor&) = delete;
  TableCursor& operator=(const TableCursor&) = delete;

  const TableLayout& Layout() const { return layout_; }

  // Moves to the next record; false at the end of the file. Raises SqlError HY000 for a
  // record longer than kMaxRecordBytes, naming the file and the line.
  bool Next();

  // The column's field in the current record as cut from it; empty when the record has no
  // such field.
  std::string_view Field(std::size_t column);

  // The field converted to the column's type; a failure names the row, the line and the column.
  CellValue Value(std::size_t column);

  // The fields of `columns` converted as Value converts them, appended to `values` in that
  // order: a scan converts every field of millions of records, one record at a time.
  void AppendValues(const std::vector<std::size_t>& columns, std::vector<CellValue>& values);

  // How many bytes the fields of the current record are cut from: the record's, and those of
  // the values that had to be unescaped.
  std::size_t CutBytes();

  // Copies the bytes the fields of the current record are cut from to the end of `bytes` and
  // points the fields there, so that they last as long as `bytes` does not move.
  void KeepFieldsIn(std::string& bytes);

  // Data records read so far.
  long long Row() const { return row_; }

 private:
  bool ReadRecord();
  void Cut();
  // The field of `column` once the record is cut: empty when the record has no such field.
  std::string_view CutField(std::size_t column) const {
    return column < fields_.size() ? fields_[column] : std::string_view();
  }
  // `error` of converting the field of `column`, with the row, the line and the column named.
  SqlError InColumn(const SqlError& error, std::size_t column) const;

  const TableLayout& layout_;
  std::unique_ptr<TextRecordReader> reader_;
  FixedUnit unit_ = FixedUnit::Bytes;  // what the fixed widths count in the records read
  std::string_view record_;  // the record read last, valid until the next read
  bool cut_ = false;
  std::vector<std::string_view> fields_;  // views into record_, or into unescaped_
  std::string unescaped_;
  long long row_ = 0;
  long long line_number_ = 0;
};

}  // namespace quorlin::driver
