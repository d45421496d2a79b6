#include "platform/locale_settings.h"

#include <langinfo.h>

#include <ctime>

#include "platform/strftime_formats.h"

namespace quorlin {

namespace {

std::string OrDefault(const char* text, const char* fallback) {
  return text != nullptr && *text != '\0' ? std::string(text) : std::string(fallback);
}

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

}  // namespace

LocaleSettings SystemLocaleSettings() {
  LocaleSettings settings;
  const std::string dateFormat = ShortDateFormatFromStrftime(OrDefault(nl_langinfo(D_FMT), "%D"));
  if (!dateFormat.empty()) settings.shortDateFormat = dateFormat;
  settings.dateSeparator = DateSeparatorOf(settings.shortDateFormat);
  settings.timeSeparator = TimeSeparatorFromStrftime(OrDefault(nl_langinfo(T_FMT), "%T"));
  // A separator of several bytes (a UTF-8 character) cannot be one separator character.
  const std::string radix = OrDefault(nl_langinfo(RADIXCHAR), ".");
  settings.decimalSeparator = radix.size() == 1 ? radix[0] : '.';
  settings.amString = OrDefault(nl_langinfo(AM_STR), "AM");
  settings.pmString = OrDefault(nl_langinfo(PM_STR), "PM");
  settings.currentYear = CurrentYear();
  return settings;
}

}  // namespace quorlin
