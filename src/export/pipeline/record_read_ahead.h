// Reading and cutting the records of an export on a second thread, ahead of the writer.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "export/export_values.h"

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
  // Stops the reading thread, waiting for the record it is reading.
  ~RecordReadAhead();
  RecordReadAhead(const RecordReadAhead&) = delete;
  RecordReadAhead& operator=(const RecordReadAhead&) = delete;

  // The next record's values, valid until the next call; false at the end.
  bool Next(RecordValues& values);

 private:
  // Records copied out of the source's buffer, with their values as places in the copy.
  struct Batch {
    std::string bytes;
    std::vector<std::pair<std::size_t, std::size_t>> values;  // offset and size in bytes
    std::vector<std::size_t> valueCounts;                      // one per record
    std::exception_ptr error;  // raised after the batch's records
    bool last = false;         // no batch follows
    std::size_t nextRecord = 0;
    std::size_t nextValue = 0;

    void Clear();
    void Add(std::string_view line, const RecordValues& values);
  };

  void Read();
  std::unique_ptr<Batch> TakeFree();
  void Fill(Batch& batch, RecordValues& values);

  Source source_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> free_;
  std::deque<std::unique_ptr<Batch>> full_;
  bool stopping_ = false;
  std::unique_ptr<Batch> current_;
  std::thread reader_;
};

}  // namespace quorlin
