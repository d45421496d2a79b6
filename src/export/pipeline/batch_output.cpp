#include "export/pipeline/batch_output.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

void OutputBuffer::Append(std::string_view bytes) {
  const std::span<char> room = Reserve(bytes.size());
  if (!bytes.empty()) std::memcpy(room.data(), bytes.data(), bytes.size());
  Commit(bytes.size());
}

std::span<char> OutputBuffer::Reserve(std::size_t size) {
  if (capacity_ - used_ < size) {
    // Doubling keeps a batch's growth linear; the memory is kept for the batches that follow.
    const std::size_t capacity = std::max(used_ + size, 2 * capacity_);
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (used_ > 0) std::memcpy(grown.get(), data_.get(), used_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }
  return {data_.get() + used_, size};
}

// A record writer only appends; a file's head, foot and patches go to the real files.
class BatchOutputFiles::Sink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { target_->Append(bytes); }
  void WriteAt(std::uint64_t, std::string_view) override {
    throw std::logic_error("a batch of records cannot change bytes written before it");
  }
  std::uint64_t Size() const override { return target_->Bytes().size(); }
  void Close() override {}
  std::span<char> Reserve(std::size_t size) override { return target_->Reserve(size); }
  void Commit(std::size_t used) override { target_->Commit(used); }

  void WriteInto(OutputBuffer& target) { target_ = &target; }

 private:
  OutputBuffer* target_ = nullptr;
};

BatchOutputFiles::BatchOutputFiles() = default;
BatchOutputFiles::~BatchOutputFiles() = default;

ByteSink& BatchOutputFiles::Create(const std::string&, FileRole) {
  sinks_.push_back(std::make_unique<Sink>());
  return *sinks_.back();
}

void BatchOutputFiles::WriteInto(std::vector<OutputBuffer>& buffers) {
  buffers.resize(sinks_.size());
  for (std::size_t i = 0; i < sinks_.size(); ++i) {
    buffers[i].Clear();
    sinks_[i]->WriteInto(buffers[i]);
  }
}

NotedOutputFiles::NotedOutputFiles(OutputFiles& files) : files_(files) {}
NotedOutputFiles::~NotedOutputFiles() = default;

ByteSink& NotedOutputFiles::Create(const std::string& path, FileRole role) {
  ByteSink* sink = &files_.Create(path, role);
  if (role == FileRole::Log) {
    logs_.push_back(std::make_unique<CappedLog>(*sink));
    sink = logs_.back().get();
  }
  created_.push_back(sink);
  return *sink;
}

void NotedOutputFiles::CloseAll() {
  for (const auto& log : logs_) log->Close();
  files_.CloseAll();
}

}  // namespace quorlin
