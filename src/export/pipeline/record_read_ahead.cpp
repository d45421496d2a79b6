#include "export/pipeline/record_read_ahead.h"

#include <utility>

namespace quorlin {

namespace {

// Large enough that handing a batch over costs nothing beside cutting it, small enough that
// a few of them stay in the processor's cache.
constexpr std::size_t kBatchRecords = 2048;
constexpr std::size_t kBatchBytes = 256 * 1024;
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
