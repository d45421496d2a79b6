// A fixed set of threads that run one job at a time while their owner goes on with other work.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quorlin {

// The threads live as long as the object, so that handing over one small job after another
// costs no thread's start.
class BackgroundWorkers {
 public:
  // Called on every worker with the worker's number (from 0), so that each can keep its own
  // scratch state.
  using Job = std::function<void(std::size_t worker)>;

  explicit BackgroundWorkers(std::size_t count);
  // Waits for the running job, if any, and stops the threads.
  ~BackgroundWorkers();
  BackgroundWorkers(const BackgroundWorkers&) = delete;
  BackgroundWorkers& operator=(const BackgroundWorkers&) = delete;

  std::size_t Count() const { return threads_.size(); }
  // Starts `job` on every worker; the job before must have been waited for.
  void Start(Job job);
  // Waits until every worker has finished the job started last, then raises the first error a
  // worker raised in it. Returns at once when no job runs.
  void Wait();

 private:
  void Serve(std::size_t worker);

  std::mutex mutex_;
  std::condition_variable started_;
  std::condition_variable finished_;
  Job job_;
  std::uint64_t generation_ = 0;  // counts the jobs started
  std::size_t running_ = 0;       // workers still in the current job
  std::exception_ptr error_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quorlin
