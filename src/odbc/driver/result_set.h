// What a statement's cursor walks: a query's rows or a catalog function's rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "odbc/driver/cell_value.h"
#include "odbc/driver/column_kind.h"
#include "odbc/driver/table_cursor.h"

namespace quorlin::driver {

struct ResultColumn {
  std::string name;
  ColumnKind kind = ColumnKind::Text;
  std::size_t textSize = kDefaultTextSize;
  std::string tableName;  // empty for catalog results
  bool nullable = true;
};

class ResultSet {
 public:
  virtual ~ResultSet() = default;
  virtual const std::vector<ResultColumn>& Columns() const = 0;
  // Moves to the next row; false after the last one.
  virtual bool Next() = 0;
  // The value of a column of the current row, valid until the next move.
  virtual CellValue Value(std::size_t column) const = 0;
};

// The rows of a SELECT: the chosen columns of the table's rows that meet the conditions.
class QueryResult : public ResultSet {
 public:
  QueryResult(std::unique_ptr<TableCursor> cursor, std::vector<std::size_t> chosen);

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  bool Next() override { return cursor_->Next(); }
  CellValue Value(std::size_t column) const override { return cursor_->Value(chosen_[column]); }

 private:
  std::unique_ptr<TableCursor> cursor_;
  std::vector<std::size_t> chosen_;
  std::vector<ResultColumn> columns_;
};

// The columns a SELECT gives, without opening its file: what SQLPrepare describes.
std::vector<ResultColumn> QueryColumns(const TableLayout& layout, const std::vector<std::size_t>& chosen);

// Rows held in memory, for the catalog functions.
class RowsResult : public ResultSet {
 public:
  using Cell = std::optional<std::string>;  // integers are held as their decimal text

  explicit RowsResult(std::vector<ResultColumn> columns) : columns_(std::move(columns)) {}
  void AddRow(std::vector<Cell> row) { rows_.push_back(std::move(row)); }

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  bool Next() override;
  CellValue Value(std::size_t column) const override;

 private:
  std::vector<ResultColumn> columns_;
  std::vector<std::vector<Cell>> rows_;
  std::size_t next_ = 0;
};

}  // namespace quorlin::driver
