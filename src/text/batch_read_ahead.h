// Filling batches of records on a thread of its own, ahead of the one consumer that takes them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace quorlin {

// Hands `Batch`es to one consumer in the order they were filled, while a thread of its own
// fills the ones that follow: reading, cutting and converting then overlap the consumer's
// work on a second processor core. A batch goes back to be filled again when the consumer
// asks for the next one, so memory stays that of `depth` batches however long the input is.
template <typename Batch>
class BatchReadAhead {
 public:
  // Fills a batch that may still hold what it held before (clearing it is the filler's part);
  // false when no batch follows this one. An error it raises reaches the consumer after the
  // batch it was filling, as if the consumer had filled it itself.
  using Fill = std::function<bool(Batch& batch)>;

  explicit BatchReadAhead(Fill fill, std::size_t depth = 2) : fill_(std::move(fill)) {
    for (std::size_t k = 0; k < depth; ++k) free_.push_back(std::make_unique<Slot>());
    filler_ = std::thread([this] { FillAll(); });
  }
  // Stops the filling thread, waiting for the batch it is filling.
  ~BatchReadAhead() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    filler_.join();
  }
  BatchReadAhead(const BatchReadAhead&) = delete;
  BatchReadAhead& operator=(const BatchReadAhead&) = delete;

  // The next filled batch, valid until the next call; nullptr after the last one.
  Batch* Next() {
    std::unique_lock lock(mutex_);
    if (current_) {
      if (current_->error) std::rethrow_exception(current_->error);
      if (current_->last) return nullptr;
      free_.push_back(std::move(current_));
      changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !full_.empty(); });
    current_ = std::move(full_.front());
    full_.pop_front();
    return &current_->batch;
  }

 private:
  struct Slot {
    Batch batch;
    std::exception_ptr error;
    bool last = false;
  };

  void FillAll() {
    for (;;) {
      std::unique_ptr<Slot> slot;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || !free_.empty(); });
        if (stopping_) return;
        slot = std::move(free_.front());
        free_.pop_front();
      }
      try {
        slot->last = !fill_(slot->batch);
      } catch (...) {
        slot->error = std::current_exception();
        slot->last = true;
      }
      const bool last = slot->last;
      {
        std::lock_guard lock(mutex_);
        full_.push_back(std::move(slot));
      }
      changed_.notify_all();
      if (last) return;
    }
  }

  Fill fill_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Slot>> free_;
  std::deque<std::unique_ptr<Slot>> full_;
  std::unique_ptr<Slot> current_;
  bool stopping_ = false;
  std::thread filler_;  // last, so that it starts once every member above is ready
};

}  // namespace quorlin
