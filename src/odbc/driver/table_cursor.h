// The rows of a table file, streamed one record at a time and filtered by the WHERE conditions.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/driver/cell_value.h"
#include "odbc/driver/sql_query.h"
#include "odbc/driver/table_layout.h"

namespace quorlin {
class TextRecordReader;
}

namespace quorlin::driver {

// A condition checked against a column: the literal already converted to the column's type.
struct BoundCondition {
  std::size_t column = 0;
  CompareOp op = CompareOp::Equal;
  CellValue::Kind kind = CellValue::Kind::Text;
  std::string text;  // Text
  double number = 0;  // Integer, Double, Bit
  DateTime when;      // Date, Time, Timestamp
};

// Binds each condition to its column. Raises SqlError 42S22 for an unknown column and 22018
// for a literal that is no value of the column's type.
std::vector<BoundCondition> BindConditions(const TableLayout& layout, const std::vector<Condition>& conditions);

class TableCursor {
 public:
  // Opens the file; raises SqlError HY000 when it cannot be opened.
  TableCursor(TableLayout layout, std::vector<BoundCondition> conditions);
  ~TableCursor();
  TableCursor(const TableCursor&) = delete;
  TableCursor& operator=(const TableCursor&) = delete;

  const TableLayout& Layout() const { return layout_; }

  // Moves to the next row that meets every condition; false at the end of the file. Raises
  // SqlError 22018 or 22003 when a value a condition looks at does not convert.
  bool Next();

  // The column's field in the current row as cut from the line; empty when the line has no
  // such field.
  std::string_view Field(std::size_t column) const;

  // The field converted to the column's type; a failure names the row, the line and the column.
  CellValue Value(std::size_t column) const;

 private:
  void CutLine();
  bool MeetsConditions() const;

  TableLayout layout_;
  std::vector<BoundCondition> conditions_;
  std::unique_ptr<TextRecordReader> reader_;
  std::string_view line_;  // the record read last, valid until the next read
  std::vector<std::string_view> fields_;     // delimited files, views into line_ or unescaped_
  std::string unescaped_;
  std::vector<std::string_view> fixedFields_;  // fixed-length files, views into line_
  long long row_ = 0;   // data rows read, also those the conditions skipped
};

}  // namespace quorlin::driver
