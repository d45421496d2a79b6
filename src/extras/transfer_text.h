// The amounts, rates and times a download's progress window shows.
#pragma once

#include <cstdint>
#include <string>

namespace quorlin {

// In powers of 1000: "512 bytes", "12.34 Kb", "1.23 Mb".
std::string AmountText(std::int64_t bytes);
// "512 bytes/sec", "12.34 Kb/sec", "1.23 Mb/sec".
std::string RateText(double bytesPerSecond);
// "45 sec", "2 min 05 sec", "1 h 02 min"; "unknown" while the size or the rate is not known.
std::string TimeLeftText(std::int64_t remainingBytes, double bytesPerSecond);

}  // namespace quorlin
