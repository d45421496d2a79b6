// Files in memory for writers that format records on worker threads: each batch of records is
// formatted into buffers of its own, which are then appended to the real files in order.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "export/pipeline/capped_log.h"
#include "export/pipeline/output_files.h"

namespace quorlin {

// The bytes a batch of records made for one file; grows as needed and keeps its memory for the
// next batch.
class OutputBuffer {
 public:
  std::string_view Bytes() const { return {data_.get(), used_}; }
  void Clear() { used_ = 0; }
  void Append(std::string_view bytes);
  // Room for `size` more bytes, valid until the next call; Commit(used) keeps the first `used`.
  std::span<char> Reserve(std::size_t size);
  void Commit(std::size_t used) { used_ += used; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
};

// Files whose sinks write into buffers that are exchanged between batches: the n-th file
// created writes into the n-th buffer of the set given last.
class BatchOutputFiles : public OutputFiles {
 public:
  BatchOutputFiles();
  ~BatchOutputFiles() override;
  ByteSink& Create(const std::string& path, FileRole role) override;
  void CloseAll() override {}

  std::size_t Count() const { return sinks_.size(); }
  // From now on the files write into `buffers`, one per file created; they are emptied first.
  void WriteInto(std::vector<OutputBuffer>& buffers);

 private:
  class Sink;
  std::vector<std::unique_ptr<Sink>> sinks_;
};

// Output files that hand creation on to `files` and note each sink created, in order; a log
// is capped (CappedLog), so that what reaches it from anywhere counts against one limit.
class NotedOutputFiles : public OutputFiles {
 public:
  explicit NotedOutputFiles(OutputFiles& files);
  ~NotedOutputFiles() override;
  ByteSink& Create(const std::string& path, FileRole role) override;
  void CloseAll() override;
  void Discard() override { files_.Discard(); }

  const std::vector<ByteSink*>& Created() const { return created_; }

 private:
  OutputFiles& files_;
  std::vector<ByteSink*> created_;
  std::vector<std::unique_ptr<CappedLog>> logs_;
};

}  // namespace quorlin
