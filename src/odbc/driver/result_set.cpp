// Query rows from a table cursor, catalog rows from memory.
#include "odbc/driver/result_set.h"

#include <charconv>

namespace quorlin::driver {

std::vector<ResultColumn> QueryColumns(const TableLayout& layout, const std::vector<std::size_t>& chosen) {
  std::vector<ResultColumn> columns;
  columns.reserve(chosen.size());
  for (const std::size_t k : chosen) {
    const ColumnDef& def = layout.columns[k];
    columns.push_back({def.name, def.kind, def.textSize, layout.tableName, true});
  }
  return columns;
}

QueryResult::QueryResult(std::unique_ptr<TableCursor> cursor, std::vector<std::size_t> chosen)
    : cursor_(std::move(cursor)), chosen_(std::move(chosen)) {
  columns_ = QueryColumns(cursor_->Layout(), chosen_);
}

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
