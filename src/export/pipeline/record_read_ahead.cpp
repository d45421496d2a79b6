#include "export/pipeline/record_read_ahead.h"

#include <utility>

namespace quorlin {

namespace {

// Large enough that handing a batch over, which may cost a thread a sleep and a wake-up, is
// rare beside cutting it; bounded, so that the batches on their way take a few megabytes.
constexpr std::size_t kBatchRecords = 8192;
constexpr std::size_t kBatchBytes = 1024 * 1024;
// One batch with the consumer, the others cut meanwhile, so that a consumer that takes
// several batches at once seldom waits for the next.
constexpr std::size_t kBatches = 4;

}  // namespace

RecordReadAhead::RecordReadAhead(Source source)
    : source_(std::move(source)),
      batches_([this](RecordBatch& batch) { return Fill(batch); }, nullptr,
               OrderedBatches<RecordBatch>::Processing::HelperOnly, kBatches) {}

RecordReadAhead::~RecordReadAhead() = default;

bool RecordReadAhead::Fill(RecordBatch& batch) {
  batch.Clear();
  std::string_view line;
  while (batch.Size() < kBatchRecords && batch.Bytes() < kBatchBytes) {
    if (!source_(line, read_)) return false;
    batch.Add(line, read_);
  }
  return true;
}

bool RecordReadAhead::Next(RecordBatch& batch) {
  for (RecordBatch* next; (next = batches_.Next()) != nullptr;) {
    if (next->Size() == 0) continue;
    std::swap(*next, batch);
    return true;
  }
  return false;
}

}  // namespace quorlin
