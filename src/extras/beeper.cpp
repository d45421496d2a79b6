#include "extras/beeper.h"

#include <utility>

namespace quorlin {

TbtBeeper::TbtBeeper(std::unique_ptr<ToneOutput> output)
    : output_(std::move(output)), worker_([this] { Run(); }) {}

TbtBeeper::~TbtBeeper() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  output_->Stopping();
  worker_.join();
}

void TbtBeeper::PlayTone(std::uint16_t frequency, std::int32_t duration) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back({frequency, duration});
  }
  wake_.notify_one();
}

void TbtBeeper::PlayPreset(int preset) {
  const auto notes = PresetNotes(preset);
  if (notes.empty()) return;
  {
    std::lock_guard lock(mutex_);
    queue_.insert(queue_.end(), notes.begin(), notes.end());
  }
  wake_.notify_one();
}

// The test for an empty queue and the wait happen under the lock that appending takes, so a
// note appended while the worker is falling idle wakes it at once.
void TbtBeeper::Run() {
  for (;;) {
    TCmd note;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      note = queue_.front();
      queue_.pop_front();
    }
    if (note.frequency == kRest) {
      output_->Rest(note.duration);
    } else {
      output_->Tone(note.frequency, note.duration);
    }
  }
}

}  // namespace quorlin
