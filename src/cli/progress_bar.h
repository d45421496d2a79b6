// The progress bar an export draws on a terminal: records done, the total and the rate.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>

namespace quorlin {

class TerminalProgress {
 public:
  explicit TerminalProgress(std::ostream& out) : out_(out) {}

  // Takes every position; redraws at most ten times a second and always at the end.
  void Update(std::int64_t position, std::int64_t maximum);
  // Ends the bar's line, when one was drawn.
  void Finish();

 private:
  void Draw(std::int64_t position, std::int64_t maximum, std::chrono::steady_clock::time_point now);

  std::ostream& out_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastDrawn_{};
  bool drawn_ = false;
};

}  // namespace quorlin
