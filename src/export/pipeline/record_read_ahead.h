// Reading and cutting the records of an export on a second thread, ahead of the writer.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "export/export_values.h"
#include "export/pipeline/record_batch.h"
#include "text/ordered_batches.h"

namespace quorlin {

// Hands the records of `source` to one consumer in their order, a batch at a time, while a
// thread of its own reads and cuts the records that follow: cutting then overlaps the
// writer's formatting. The source gives false at its end; an error it raises reaches the
// consumer after the records read before it, as if the consumer had read them itself.
class RecordReadAhead {
 public:
  // Reads the next record: its line and its values, views into that line (or into memory of
  // the source's own) that stay valid until the next call.
  using Source = std::function<bool(std::string_view& line, RecordValues& values)>;

  explicit RecordReadAhead(Source source);
  // Stops the reading thread, waiting for the record it is reading.
  ~RecordReadAhead();
  RecordReadAhead(const RecordReadAhead&) = delete;
  RecordReadAhead& operator=(const RecordReadAhead&) = delete;

  // Swaps the next batch of records, never an empty one, into `batch`, whose buffers are
  // filled again later; false at the end.
  bool Next(RecordBatch& batch);

 private:
  bool Fill(RecordBatch& batch);

  Source source_;
  RecordValues read_;  // the reading thread's
  OrderedBatches<RecordBatch> batches_;
};

}  // namespace quorlin
