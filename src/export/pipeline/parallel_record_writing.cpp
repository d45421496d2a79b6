#include "export/pipeline/parallel_record_writing.h"

#include <algorithm>

namespace quorlin {

namespace {

// Large enough that handing a batch over costs nothing beside formatting it, small enough
// that the batches in flight stay in the processors' caches.
constexpr std::size_t kBatchRecords = 2048;
constexpr std::size_t kBatchBytes = 128 * 1024;
// One formatted by each thread, and some waiting for their turn to be written.
constexpr std::size_t kBatchesInFlight = 4;

}  // namespace

ParallelRecordWriting::ParallelRecordWriting(LineSource source, Cutter cut,
                                             std::array<std::unique_ptr<FormatWriter>, 2> twins,
                                             std::vector<ByteSink*> files)
    : source_(std::move(source)), cut_(std::move(cut)), files_(std::move(files)) {
  for (std::size_t i = 0; i < workers_.size(); ++i) {
    workers_[i].writer = std::move(twins[i]);
    workers_[i].writer->Open(workers_[i].files);
  }
  for (std::size_t i = 0; i < kBatchesInFlight; ++i) {
    batches_.push_back(std::make_unique<Batch>());
    free_.push_back(batches_.back().get());
  }
  helper_ = std::thread([this] { Help(); });
}

ParallelRecordWriting::~ParallelRecordWriting() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  helper_.join();
}

// Reads the next lines into `batch`; false when the input had ended before.
bool ParallelRecordWriting::Fill(Batch& batch) {
  std::lock_guard lock(inputMutex_);
  if (inputEnded_) return false;
  batch.lines.clear();
  batch.lineEnds.clear();
  batch.formatted = 0;
  batch.error = nullptr;
  batch.last = false;
  batch.sequence = nextSequence_++;
  batch.firstNumber = nextNumber_;
  try {
    std::string_view line;
    while (batch.lineEnds.size() < kBatchRecords && batch.lines.size() < kBatchBytes) {
      if (!source_(line)) {
        batch.last = true;
        break;
      }
      batch.lines.append(line);
      batch.lineEnds.push_back(batch.lines.size());
    }
  } catch (...) {
    batch.error = std::current_exception();
    batch.last = true;
  }
  inputEnded_ = batch.last;
  nextNumber_ += static_cast<std::int64_t>(batch.lineEnds.size());
  return true;
}

void ParallelRecordWriting::Format(Worker& worker, Batch& batch) {
  worker.files.WriteInto(batch.outputs);
  try {
    std::size_t start = 0;
    for (const std::size_t end : batch.lineEnds) {
      cut_(std::string_view(batch.lines.data() + start, end - start), worker.values, worker.unescaped);
      worker.writer->Record(batch.firstNumber + static_cast<std::int64_t>(batch.formatted), worker.values);
      ++batch.formatted;
      start = end;
    }
  } catch (...) {
    // Comes before any error of reading, which stopped the batch after its lines.
    batch.error = std::current_exception();
  }
}

void ParallelRecordWriting::Help() {
  Worker& worker = workers_[1];
  for (;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
      if (stopping_) return;
      batch = free_.back();
      free_.pop_back();
    }
    if (!Fill(*batch)) {
      Release(batch);
      return;
    }
    Format(worker, *batch);
    {
      std::lock_guard lock(mutex_);
      formatted_.push_back(batch);
    }
    changed_.notify_all();
    if (batch->last) return;
  }
}

void ParallelRecordWriting::Release(Batch* batch) {
  {
    std::lock_guard lock(mutex_);
    free_.push_back(batch);
  }
  changed_.notify_all();
}

std::int64_t ParallelRecordWriting::Run(const std::function<void()>& written) {
  Worker& worker = workers_[0];
  std::int64_t nextToWrite = 0;
  std::int64_t records = 0;
  bool inputEnded = false;
  for (;;) {
    Batch* batch = nullptr;
    bool toFormat = false;
    {
      // The next batch in order when it is ready, else one to format here while waiting.
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        const auto next = std::find_if(formatted_.begin(), formatted_.end(),
                                       [&](const Batch* ready) { return ready->sequence == nextToWrite; });
        if (next != formatted_.end()) {
          batch = *next;
          formatted_.erase(next);
          return true;
        }
        if (!inputEnded && !free_.empty()) {
          batch = free_.back();
          free_.pop_back();
          toFormat = true;
          return true;
        }
        return false;
      });
    }
    if (toFormat) {
      if (Fill(*batch)) {
        Format(worker, *batch);
        std::lock_guard lock(mutex_);
        formatted_.push_back(batch);
      } else {
        inputEnded = true;
        Release(batch);
      }
      continue;
    }
    for (std::size_t i = 0; i < files_.size(); ++i) files_[i]->Write(batch->outputs[i].Bytes());
    for (std::size_t i = 0; i < batch->formatted; ++i) written();
    records += static_cast<std::int64_t>(batch->formatted);
    ++nextToWrite;
    const std::exception_ptr error = batch->error;
    const bool last = batch->last;
    Release(batch);
    if (error) std::rethrow_exception(error);
    if (last) return records;
  }
}

}  // namespace quorlin
