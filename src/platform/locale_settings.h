// The user's locale settings that the value recognisers work with.
#pragma once

#include <string>

namespace quorlin {

struct LocaleSettings {
  char dateSeparator = '/';
  char timeSeparator = ':';
  char decimalSeparator = '.';
  std::string shortDateFormat = "MM/dd/yy";  // only the order of d, M and y matters
  std::string amString = "AM";
  std::string pmString = "PM";
  // Two-digit years fall in the hundred years from 50 before to 49 after this year, and
  // dates written without a year are in it.
  int currentYear = 2026;
};

// The settings the C library reports for the environment's locale (LC_ALL, LC_TIME,
// LC_NUMERIC), with the current year from the clock. In the C locale: "MM/dd/yy", "/", ":",
// ".", "AM" and "PM".
LocaleSettings SystemLocaleSettings();

}  // namespace quorlin
