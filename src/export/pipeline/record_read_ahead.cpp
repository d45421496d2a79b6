#include "export/pipeline/record_read_ahead.h"

namespace quorlin {

namespace {

// Large enough that handing a batch over costs nothing beside cutting it, small enough that
// two of them stay in the processor's cache.
constexpr std::size_t kBatchRecords = 2048;
constexpr std::size_t kBatchBytes = 256 * 1024;

}  // namespace

void RecordReadAhead::Batch::Clear() {
  bytes.clear();
  values.clear();
  valueCounts.clear();
  error = nullptr;
  last = false;
  nextRecord = 0;
  nextValue = 0;
}

void RecordReadAhead::Batch::Add(std::string_view line, const RecordValues& record) {
  const std::size_t start = bytes.size();
  bytes.append(line);
  for (std::string_view value : record) {
    // Nearly every value is a part of its line; one that is not (a value whose doubled
    // qualifiers were made single) is copied after it. An empty one may point anywhere.
    const bool inLine = value.data() >= line.data() && value.data() + value.size() <= line.data() + line.size();
    if (value.empty()) {
      values.emplace_back(start, 0);
    } else if (inLine) {
      values.emplace_back(start + static_cast<std::size_t>(value.data() - line.data()), value.size());
    } else {
      values.emplace_back(bytes.size(), value.size());
      bytes.append(value);
    }
  }
  valueCounts.push_back(record.size());
}

RecordReadAhead::RecordReadAhead(Source source) : source_(std::move(source)) {
  free_.push_back(std::make_unique<Batch>());
  free_.push_back(std::make_unique<Batch>());
  reader_ = std::thread([this] { Read(); });
}

RecordReadAhead::~RecordReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  reader_.join();
}

std::unique_ptr<RecordReadAhead::Batch> RecordReadAhead::TakeFree() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
  if (stopping_) return nullptr;
  std::unique_ptr<Batch> batch = std::move(free_.front());
  free_.pop_front();
  return batch;
}

void RecordReadAhead::Fill(Batch& batch, RecordValues& values) {
  std::string_view line;
  while (batch.valueCounts.size() < kBatchRecords && batch.bytes.size() < kBatchBytes) {
    if (!source_(line, values)) {
      batch.last = true;
      return;
    }
    batch.Add(line, values);
  }
}

void RecordReadAhead::Read() {
  RecordValues values;
  for (;;) {
    std::unique_ptr<Batch> batch = TakeFree();
    if (!batch) return;
    batch->Clear();
    try {
      Fill(*batch, values);
    } catch (...) {
      batch->error = std::current_exception();
      batch->last = true;
    }
    const bool last = batch->last;
    {
      std::lock_guard lock(mutex_);
      full_.push_back(std::move(batch));
    }
    changed_.notify_all();
    if (last) return;
  }
}

bool RecordReadAhead::Next(RecordValues& values) {
  while (!current_ || current_->nextRecord == current_->valueCounts.size()) {
    if (current_) {
      if (current_->error) std::rethrow_exception(current_->error);
      if (current_->last) return false;
      {
        std::lock_guard lock(mutex_);
        free_.push_back(std::move(current_));
      }
      changed_.notify_all();
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !full_.empty(); });
    current_ = std::move(full_.front());
    full_.pop_front();
  }
  Batch& batch = *current_;
  const std::size_t count = batch.valueCounts[batch.nextRecord++];
  values.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto [offset, size] = batch.values[batch.nextValue++];
    values[i] = std::string_view(batch.bytes.data() + offset, size);
  }
  return true;
}

}  // namespace quorlin
