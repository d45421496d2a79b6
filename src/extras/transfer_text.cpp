#include "extras/transfer_text.h"

#include <cmath>
#include <cstdio>

namespace quorlin {

namespace {

std::string InPowersOf1000(double amount, const char* unit) {
  char text[64];
  if (amount < 1000) {
    std::snprintf(text, sizeof text, "%lld bytes%s", static_cast<long long>(amount), unit);
  } else if (amount < 1'000'000) {
    std::snprintf(text, sizeof text, "%.2f Kb%s", amount / 1000, unit);
  } else {
    std::snprintf(text, sizeof text, "%.2f Mb%s", amount / 1'000'000, unit);
  }
  return text;
}

}  // namespace

std::string AmountText(std::int64_t bytes) {
  return InPowersOf1000(static_cast<double>(bytes < 0 ? 0 : bytes), "");
}

std::string RateText(double bytesPerSecond) {
  return InPowersOf1000(bytesPerSecond > 0 ? bytesPerSecond : 0, "/sec");
}

std::string TimeLeftText(std::int64_t remainingBytes, double bytesPerSecond) {
  if (remainingBytes < 0 || !(bytesPerSecond > 0)) return "unknown";
  const double seconds = std::ceil(static_cast<double>(remainingBytes) / bytesPerSecond);
  if (seconds >= 360'000) return "unknown";
  const long whole = static_cast<long>(seconds);
  char text[64];
  if (whole < 60) {
    std::snprintf(text, sizeof text, "%ld sec", whole);
  } else if (whole < 3600) {
    std::snprintf(text, sizeof text, "%ld min %02ld sec", whole / 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld h %02ld min", whole / 3600, whole / 60 % 60);
  }
  return text;
}

}  // namespace quorlin
