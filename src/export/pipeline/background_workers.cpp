#include "export/pipeline/background_workers.h"

#include <utility>

namespace quorlin {

BackgroundWorkers::BackgroundWorkers(std::size_t count) {
  threads_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) threads_.emplace_back([this, i] { Serve(i); });
}

BackgroundWorkers::~BackgroundWorkers() {
  {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return running_ == 0; });
    stopping_ = true;
  }
  started_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void BackgroundWorkers::Start(Job job) {
  {
    std::lock_guard lock(mutex_);
    job_ = std::move(job);
    error_ = nullptr;
    running_ = threads_.size();
    ++generation_;
  }
  started_.notify_all();
}

void BackgroundWorkers::Wait() {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [this] { return running_ == 0; });
  if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void BackgroundWorkers::Serve(std::size_t worker) {
  std::uint64_t done = 0;
  for (;;) {
    std::unique_lock lock(mutex_);
    started_.wait(lock, [this, done] { return stopping_ || generation_ != done; });
    if (stopping_) return;
    done = generation_;
    lock.unlock();
    std::exception_ptr error;
    try {
      job_(worker);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (error && !error_) error_ = error;
    if (--running_ == 0) finished_.notify_all();
  }
}

}  // namespace quorlin
