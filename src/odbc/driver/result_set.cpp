// Catalog rows from memory.
#include "odbc/driver/result_set.h"

#include <charconv>

namespace quorlin::driver {

bool RowsResult::Next() {
  if (next_ >= rows_.size()) return false;
  ++next_;
  return true;
}

CellValue RowsResult::Value(std::size_t column) const {
  const Cell& cell = rows_[next_ - 1][column];
  if (!cell) return CellValue::Null();
  if (columns_[column].kind == ColumnKind::Text || columns_[column].kind == ColumnKind::LongText) {
    return CellValue::Of(std::string_view(*cell));
  }
  std::int64_t value = 0;
  std::from_chars(cell->data(), cell->data() + cell->size(), value);
  return CellValue::Of(value);
}

}  // namespace quorlin::driver
