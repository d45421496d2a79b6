// The sound player: queued notes played one after another on a worker thread of its own.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "extras/preset_tunes.h"
#include "extras/tone_output.h"

namespace quorlin {

class TbtBeeper {
 public:
  explicit TbtBeeper(std::unique_ptr<ToneOutput> output);
  // Stops after the note being played; notes still queued are dropped.
  ~TbtBeeper();
  TbtBeeper(const TbtBeeper&) = delete;
  TbtBeeper& operator=(const TbtBeeper&) = delete;

  // Queues one note (frequency kRest is a rest); returns at once.
  void PlayTone(std::uint16_t frequency, std::int32_t duration);
  // Queues the notes of preset 0..12 in one piece; any other number queues nothing.
  void PlayPreset(int preset);

 private:
  void Run();

  std::unique_ptr<ToneOutput> output_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<TCmd> queue_;
  bool stopping_ = false;
  std::thread worker_;  // last, so that it starts once everything it uses exists
};

}  // namespace quorlin
