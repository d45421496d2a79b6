// A writer's error log that stops growing after a number of lines.
#pragma once

#include <cstdint>
#include <string_view>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

inline constexpr std::int64_t kMaxLogLines = 10000;

// Passes the first `maxLines` lines (each ending with a line feed) on to `log` and counts the
// rest; Close ends the log with a line giving that count, so that a bad input cannot fill the
// disk with its log.
class CappedLog : public ByteSink {
 public:
  explicit CappedLog(ByteSink& log, std::int64_t maxLines = kMaxLogLines) : log_(log), left_(maxLines) {}

  void Write(std::string_view bytes) override;
  void WriteAt(std::uint64_t offset, std::string_view bytes) override { log_.WriteAt(offset, bytes); }
  // Counts the lines left out too, so that a log with any line is never empty.
  std::uint64_t Size() const override { return log_.Size() + static_cast<std::uint64_t>(leftOut_); }
  // Ends the log with the count of lines left out; the log itself is closed by its owner.
  void Close() override;

  std::int64_t LeftOut() const { return leftOut_; }

 private:
  ByteSink& log_;
  std::int64_t left_;
  std::int64_t leftOut_ = 0;
  bool closed_ = false;
};

}  // namespace quorlin
