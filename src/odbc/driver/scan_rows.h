// The rows of a plain pass over one table, read from its file without the SQL engine: the
// same values, of the same types, that the engine would give for the same statement.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "odbc/driver/plain_scan.h"
#include "odbc/driver/result_set.h"
#include "odbc/driver/table_cursor.h"

namespace quorlin::driver {

class ScanRows : public QueryRows {
 public:
  ScanRows(const PlainScan& scan, std::vector<ResultColumn> columns);

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  CellValue Value(std::size_t column) const override { return values_[column]; }

 private:
  bool ReadRow() override;

  TableLayout layout_;
  std::vector<std::size_t> fields_;
  std::vector<ResultColumn> columns_;
  std::unique_ptr<TableCursor> rows_;
  // Every value of the row is converted when the row is read, as the engine does, so that a
  // value that does not convert fails the fetch of its row and not a later read of a column.
  std::vector<CellValue> values_;
  std::vector<std::string> dateTexts_;  // where a date's ISO form lives while it is the value
};

}  // namespace quorlin::driver
