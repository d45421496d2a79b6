#include "export/export_request.h"

#include <langinfo.h>

#include <ctime>

namespace quorlin {

DateTime CurrentDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  DateTime date;
  date.year = local.tm_year + 1900;
  date.month = local.tm_mon + 1;
  date.day = local.tm_mday;
  date.hour = local.tm_hour;
  date.minute = local.tm_min;
  date.second = local.tm_sec;
  return date;
}

std::array<std::string, 12> SystemMonthNames() {
  static constexpr nl_item kMonths[] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                        MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  std::array<std::string, 12> names;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const char* name = nl_langinfo(kMonths[i]);
    names[i] = name != nullptr && *name != '\0' ? name : kEnglishMonthNames[i];
  }
  return names;
}

ExportContext SystemExportContext() {
  return {CurrentDateTime(), SystemLocaleSettings(), SystemMonthNames()};
}

}  // namespace quorlin
