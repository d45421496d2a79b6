#include "export/pipeline/parallel_record_writing.h"

namespace quorlin {

namespace {

// Large enough that handing a batch over costs nothing beside formatting it, small enough
// that the batches in flight stay in the processors' caches.
constexpr std::size_t kBatchRecords = 2048;
constexpr std::size_t kBatchBytes = 128 * 1024;
// One formatted by each thread, and some waiting for their turn to be written.
constexpr std::size_t kBatchesInFlight = 4;

}  // namespace

ParallelRecordWriting::Worker::Worker(std::unique_ptr<FormatWriter> twin) : writer(std::move(twin)) {
  writer->Open(files);
}

ParallelRecordWriting::ParallelRecordWriting(LineSource source, Cutter cut,
                                             std::array<std::unique_ptr<FormatWriter>, 2> twins,
                                             std::vector<ByteSink*> files)
    : source_(std::move(source)),
      cut_(std::move(cut)),
      files_(std::move(files)),
      workers_{Worker(std::move(twins[0])), Worker(std::move(twins[1]))},
      batches_([this](Batch& batch) { return Fill(batch); },
               [this](Batch& batch, std::size_t worker) { Format(batch, worker); },
               OrderedBatches<Batch>::Processing::Shared, kBatchesInFlight) {}

ParallelRecordWriting::~ParallelRecordWriting() = default;

bool ParallelRecordWriting::Fill(Batch& batch) {
  batch.lines.clear();
  batch.lineEnds.clear();
  batch.formatted = 0;
  batch.firstNumber = nextNumber_;
  std::string_view line;
  bool ended = false;
  while (batch.lineEnds.size() < kBatchRecords && batch.lines.size() < kBatchBytes) {
    ended = !source_(line);
    if (ended) break;
    batch.lines.append(line);
    batch.lineEnds.push_back(batch.lines.size());
  }
  nextNumber_ += static_cast<std::int64_t>(batch.lineEnds.size());
  return !ended;
}

// Also formats the lines read before an error of reading, which is raised after them.
void ParallelRecordWriting::Format(Batch& batch, std::size_t worker) {
  Worker& own = workers_[worker];
  own.files.WriteInto(batch.outputs);
  std::size_t start = 0;
  for (const std::size_t end : batch.lineEnds) {
    cut_(std::string_view(batch.lines.data() + start, end - start), own.values, own.unescaped);
    own.writer->Record(batch.firstNumber + static_cast<std::int64_t>(batch.formatted), own.values);
    ++batch.formatted;
    start = end;
  }
}

std::int64_t ParallelRecordWriting::Run(const std::function<void()>& written) {
  std::int64_t records = 0;
  while (const Batch* batch = batches_.Next()) {
    for (std::size_t i = 0; i < files_.size(); ++i) files_[i]->Write(batch->outputs[i].Bytes());
    for (std::size_t i = 0; i < batch->formatted; ++i) written();
    records += static_cast<std::int64_t>(batch->formatted);
  }
  return records;
}

}  // namespace quorlin
