// Batches of input filled in order, processed on a second thread, handed back in order.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace quorlin {

// The one stage records read on a second thread pass through (an export's records, a table
// scan's rows). Batches are filled from the input one after another under one lock, so they
// hold it in order, and are processed on a helper thread, and on the consumer's thread too
// where `Processing::Shared` asks for it, while it waits for the next batch. The consumer
// receives them strictly in the order they were filled. A batch whose filling or processing
// failed holds the error; it is raised from the consumer's next call, after the consumer had
// the records before it, so the work fails as it would have on one thread, at the same record.
template <typename Batch>
class OrderedBatches {
 public:
  // Fills a batch that may still hold what it held before (clearing it is the filler's part);
  // false when no batch follows this one. Called under the input lock, so by one thread at a
  // time. An error it raises ends the input.
  using Fill = std::function<bool(Batch& batch)>;
  // Works on a filled batch; `worker` is 0 on the consumer's thread, 1 on the helper's, so that
  // each may keep state of its own. Called on both threads at once for different batches. An
  // error it raises is handed over in place of any error of filling, which came later.
  using Process = std::function<void(Batch& batch, std::size_t worker)>;
  enum class Processing { HelperOnly, Shared };

  OrderedBatches(Fill fill, Process process, Processing processing, std::size_t batches)
      : fill_(std::move(fill)), process_(std::move(process)), shared_(processing == Processing::Shared) {
    for (std::size_t i = 0; i < batches; ++i) {
      slots_.push_back(std::make_unique<Slot>());
      free_.push_back(slots_.back().get());
    }
    helper_ = std::thread([this] { Help(); });
  }
  // Stops the helper, waiting for the batch it is working on.
  ~OrderedBatches() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    helper_.join();
  }
  OrderedBatches(const OrderedBatches&) = delete;
  OrderedBatches& operator=(const OrderedBatches&) = delete;

  // The next batch in input order, the consumer's until the next call; nullptr after the last.
  // Raises the error of the batch handed over before, if it had one, and again on every call
  // after it.
  Batch* Next() {
    if (failed_) std::rethrow_exception(failed_);
    if (current_ != nullptr) {
      Slot* done = std::exchange(current_, nullptr);
      failed_ = done->error;
      ended_ = done->last;
      ++nextToHand_;
      Release(done);
      if (failed_) std::rethrow_exception(failed_);
    }
    while (!ended_) {
      Slot* slot = nullptr;
      bool toProcess = false;
      {
        // The next batch in order when it is ready, else one to work on here while waiting.
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] {
          const auto next = std::find_if(done_.begin(), done_.end(),
                                         [&](const Slot* ready) { return ready->sequence == nextToHand_; });
          if (next != done_.end()) {
            slot = *next;
            done_.erase(next);
            return true;
          }
          if (shared_ && !consumerSawEnd_ && !free_.empty()) {
            slot = free_.back();
            free_.pop_back();
            toProcess = true;
            return true;
          }
          return false;
        });
      }
      if (!toProcess) {
        current_ = slot;
        return &slot->batch;
      }
      if (FillAndProcess(*slot, 0)) {
        std::lock_guard lock(mutex_);
        done_.push_back(slot);
      } else {
        consumerSawEnd_ = true;
        Release(slot);
      }
    }
    return nullptr;
  }

 private:
  struct Slot {
    Batch batch;
    std::int64_t sequence = 0;
    std::exception_ptr error;
    bool last = false;  // no batch follows
  };

  // Fills and processes `slot`; false when the input had ended before.
  bool FillAndProcess(Slot& slot, std::size_t worker) {
    {
      std::lock_guard lock(inputMutex_);
      if (inputEnded_) return false;
      slot.sequence = nextSequence_++;
      slot.error = nullptr;
      try {
        slot.last = !fill_(slot.batch);
      } catch (...) {
        slot.error = std::current_exception();
        slot.last = true;
      }
      inputEnded_ = slot.last;
    }
    if (process_) {
      try {
        process_(slot.batch, worker);
      } catch (...) {
        slot.error = std::current_exception();
      }
    }
    return true;
  }

  void Help() {
    for (;;) {
      Slot* slot = nullptr;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
        if (stopping_) return;
        slot = free_.back();
        free_.pop_back();
      }
      if (!FillAndProcess(*slot, 1)) {
        Release(slot);
        return;
      }
      // Read before the hand-over: from then on the slot is the consumer's.
      const bool last = slot->last;
      {
        std::lock_guard lock(mutex_);
        done_.push_back(slot);
      }
      changed_.notify_all();
      if (last) return;
    }
  }

  void Release(Slot* slot) {
    {
      std::lock_guard lock(mutex_);
      free_.push_back(slot);
    }
    changed_.notify_all();
  }

  Fill fill_;
  Process process_;
  const bool shared_;
  std::vector<std::unique_ptr<Slot>> slots_;

  std::mutex inputMutex_;  // guards fill_ and the two members below
  bool inputEnded_ = false;
  std::int64_t nextSequence_ = 0;

  std::mutex mutex_;  // guards the lists of slots and stopping_
  std::condition_variable changed_;
  std::vector<Slot*> free_;
  std::vector<Slot*> done_;
  bool stopping_ = false;
  std::thread helper_;

  // The consumer's own.
  Slot* current_ = nullptr;
  std::int64_t nextToHand_ = 0;
  bool consumerSawEnd_ = false;
  bool ended_ = false;
  std::exception_ptr failed_;
};

}  // namespace quorlin
