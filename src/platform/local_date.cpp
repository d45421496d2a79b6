#include "platform/local_date.h"

#include <ctime>

namespace quorlin {

std::chrono::year_month_day LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
}

}  // namespace quorlin
