// What a statement's cursor walks: a query's rows or a catalog function's rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "odbc/driver/cell_value.h"
#include "odbc/driver/column_kind.h"

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
  // The value of a column of the current row, valid until the next move or the next call:
  // rows that hold their values hand them out without a copy.
  virtual const CellValue& Value(std::size_t column) const = 0;
  // The texts the current row's values hand out as they stand (see HandedOutText), side by
  // side, where the rows hold them so, else null. A fetch loop calls SQLGetData for every
  // value: reading them here spares it a virtual call, and the values themselves, written on
  // another thread's core, would take several times the memory to bring over.
  const std::string_view* HeldTexts() const { return heldTexts_; }

 protected:
  const std::string_view* heldTexts_ = nullptr;
};

// Rows of a query: the first is read when they open, so that its failure is the execution's,
// and a failed row ends them, as the SQL engine would start the statement over on the next step.
class QueryRows : public ResultSet {
 public:
  bool Next() final;

 protected:
  // Called once by the derived constructor; true when there is a first row.
  bool ReadFirst();
  // Moves to the next row; false after the last one.
  virtual bool ReadRow() = 0;

 private:
  bool pending_ = false;  // the first row was read ahead and not yet handed out
  bool done_ = false;
};

// Rows held in memory, for the catalog functions.
class RowsResult : public ResultSet {
 public:
  using Cell = std::optional<std::string>;  // integers are held as their decimal text

  explicit RowsResult(std::vector<ResultColumn> columns) : columns_(std::move(columns)) {}
  void AddRow(std::vector<Cell> row) { rows_.push_back(std::move(row)); }

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  bool Next() override;
  const CellValue& Value(std::size_t column) const override;

 private:
  std::vector<ResultColumn> columns_;
  mutable CellValue value_;  // the value handed out last
  std::vector<std::vector<Cell>> rows_;
  std::size_t next_ = 0;
};

}  // namespace quorlin::driver
