#include "export/pipeline/record_read_ahead.h"

namespace quorlin {

namespace {

// Large enough that handing a batch over costs nothing beside cutting it, small enough that
// two of them stay in the processor's cache.
constexpr std::size_t kBatchRecords = 2048;
constexpr std::size_t kBatchBytes = 256 * 1024;

}  // namespace

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

// Two batches: one cut while the other is written.
RecordReadAhead::RecordReadAhead(Source source)
    : source_(std::move(source)),
      batches_([this](Batch& batch) { return Fill(batch); }, nullptr,
               OrderedBatches<Batch>::Processing::HelperOnly, 2) {}

RecordReadAhead::~RecordReadAhead() = default;

bool RecordReadAhead::Fill(Batch& batch) {
  batch.bytes.clear();
  batch.values.clear();
  batch.valueCounts.clear();
  std::string_view line;
  while (batch.valueCounts.size() < kBatchRecords && batch.bytes.size() < kBatchBytes) {
    if (!source_(line, read_)) return false;
    batch.Add(line, read_);
  }
  return true;
}

bool RecordReadAhead::Next(RecordValues& values) {
  while (current_ == nullptr || nextRecord_ == current_->valueCounts.size()) {
    current_ = nullptr;  // handed back by the call below, which may raise
    current_ = batches_.Next();
    if (current_ == nullptr) return false;
    nextRecord_ = 0;
    nextValue_ = 0;
  }
  const std::size_t count = current_->valueCounts[nextRecord_++];
  values.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto [offset, size] = current_->values[nextValue_++];
    values[i] = std::string_view(current_->bytes.data() + offset, size);
  }
  return true;
}

}  // namespace quorlin
