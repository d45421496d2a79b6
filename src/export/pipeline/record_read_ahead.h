// Reading and cutting the records of an export on a second thread, ahead of the writer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/export_values.h"
#include "text/batch_read_ahead.h"

namespace quorlin {

// Hands the records of `source` to one consumer in their order, while a thread of its own
// reads and cuts the records that follow: cutting then overlaps the writer's formatting. The
// source gives false at its end; an error it raises reaches the consumer after the records
// read before it, as if the consumer had read them itself.
class RecordReadAhead {
 public:
  // Reads the next record: its line and its values, views into that line (or into memory of
  // the source's own) that stay valid until the next call.
  using Source = std::function<bool(std::string_view& line, RecordValues& values)>;

  explicit RecordReadAhead(Source source);

  // The next record's values, valid until the next call; false at the end.
  bool Next(RecordValues& values);

 private:
  // Records copied out of the source's buffer, with their values as places in the copy.
  struct Batch {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> values;  // offset and size in bytes
    std::vector<std::size_t> valueCounts;                      // one per record
    std::size_t nextRecord = 0;
    std::size_t nextValue = 0;

    void Clear();
    void Add(std::string_view line, const RecordValues& values);
  };

  bool Fill(Batch& batch);

  Source source_;
  RecordValues sourceValues_;  // the reading thread's
  Batch* current_ = nullptr;
  BatchReadAhead<Batch> batches_;  // last: its thread reads the members above
};

}  // namespace quorlin
