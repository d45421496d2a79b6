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

RecordReadAhead::RecordReadAhead(Source source)
    : source_(std::move(source)), batches_([this](Batch& batch) { return Fill(batch); }) {}

bool RecordReadAhead::Fill(Batch& batch) {
  batch.Clear();
  std::string_view line;
  while (batch.valueCounts.size() < kBatchRecords && batch.bytes.size() < kBatchBytes) {
    if (!source_(line, sourceValues_)) return false;
    batch.Add(line, sourceValues_);
  }
  return true;
}

bool RecordReadAhead::Next(RecordValues& values) {
  while (current_ == nullptr || current_->nextRecord == current_->valueCounts.size()) {
    current_ = batches_.Next();
    if (current_ == nullptr) return false;
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
