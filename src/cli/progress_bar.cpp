#include "cli/progress_bar.h"

#include <cstdio>
#include <string>

namespace quorlin {

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

void TerminalProgress::Update(std::int64_t position, std::int64_t maximum) {
  // The clock is looked at once every 1024 records, which keeps it out of the export's time.
  if (drawn_ && position % 1024 != 0 && position < maximum) return;
  const auto now = std::chrono::steady_clock::now();
  if (position < maximum && drawn_ && now - lastDrawn_ < kRedrawInterval) return;
  Draw(position, maximum, now);
}

void TerminalProgress::Draw(std::int64_t position, std::int64_t maximum,
                            std::chrono::steady_clock::time_point now) {
  const int filled =
      maximum > 0 ? static_cast<int>(kBarWidth * std::min(position, maximum) / maximum) : kBarWidth;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(position) / seconds : 0.0;
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "] %lld / %lld records, %.0f records/s",
                static_cast<long long>(position), static_cast<long long>(maximum), rate);
  out_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
       << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << numbers << "\x1b[K"
       << std::flush;
  lastDrawn_ = now;
  drawn_ = true;
}

void TerminalProgress::Finish() {
  if (drawn_) out_ << '\n' << std::flush;
  drawn_ = false;
}

}  // namespace quorlin
