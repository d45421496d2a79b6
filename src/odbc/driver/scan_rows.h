// The rows of a plain pass over one table, read from its file without the SQL engine: the
// same values, of the same types, that the engine would give for the same statement.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "odbc/driver/plain_scan.h"
#include "odbc/driver/result_set.h"
#include "odbc/driver/table_cursor.h"
#include "text/ordered_batches.h"

namespace quorlin::driver {

class ScanRows : public QueryRows {
 public:
  ScanRows(const PlainScan& scan, std::vector<ResultColumn> columns);

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  const CellValue& Value(std::size_t column) const override { return heldRow_[column]; }

 private:
  // Rows read, cut and converted ahead of the fetches, with the bytes their values point at.
  struct Batch {
    std::vector<CellValue> values;  // row after row
    std::vector<std::string_view> texts;  // the values' texts as they stand, in the same order
    std::string bytes;              // texts and character forms; never grows while filled
    std::size_t rows = 0;
  };

  bool ReadRow() override;
  bool Fill(Batch& batch);
  // Appends the values of the cursor's record to the batch, with the bytes they hand out.
  void AddRow(Batch& batch);

  TableLayout layout_;
  std::vector<std::size_t> fields_;
  std::vector<ColumnKind> kinds_;  // of each result column
  std::vector<ResultColumn> columns_;
  std::unique_ptr<TableCursor> records_;
  // The reading thread's: whether the cursor's record did not fit the batch before and waits
  // for the next, and where a date's ISO text lives until it is copied.
  bool recordWaits_ = false;
  std::vector<std::string> dateTexts_;
  // The fetching thread's.
  Batch* batch_ = nullptr;
  std::size_t nextRow_ = 0;
  const CellValue* heldRow_ = nullptr;
  // Every value of a row is converted when the row is read, as the engine does, so that a
  // value that does not convert fails the fetch of its row and not a later read of a column.
  OrderedBatches<Batch> batches_;  // last: its thread reads the members above
};

}  // namespace quorlin::driver
