// Query rows read ahead by one, and catalog rows from memory.
#include "odbc/driver/result_set.h"

#include <charconv>

namespace quorlin::driver {

bool QueryRows::ReadFirst() {
  pending_ = ReadRow();
  done_ = !pending_;
  return pending_;
}

bool QueryRows::Next() {
  if (pending_) {
    pending_ = false;
    return true;
  }
  if (done_) return false;
  try {
    done_ = !ReadRow();
  } catch (...) {
    done_ = true;
    throw;
  }
  return !done_;
}

bool RowsResult::Next() {
  if (next_ >= rows_.size()) return false;
  ++next_;
  return true;
}

const CellValue& RowsResult::Value(std::size_t column) const {
  const Cell& cell = rows_[next_ - 1][column];
  if (!cell) {
    value_ = CellValue::Null();
  } else if (columns_[column].kind == ColumnKind::Text || columns_[column].kind == ColumnKind::LongText) {
    value_ = CellValue::Of(std::string_view(*cell));
  } else {
    std::int64_t number = 0;
    std::from_chars(cell->data(), cell->data() + cell->size(), number);
    value_ = CellValue::Of(number);
  }
  return value_;
}

}  // namespace quorlin::driver
