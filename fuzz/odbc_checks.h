// Invariants of the text driver's SQL and connection-string parsers, checked by fuzzing and by
// corpus replay.
#pragma once

#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "odbc/driver/connection_string.h"
#include "odbc/driver/sql_error.h"
#include "odbc/driver/sql_query.h"

namespace quorlin::fuzz {

// A statement is translated for SQLite without fail; one with no escape, no dotted name and no
// date word is left exactly as written.
inline std::string CheckSelect(std::string_view sql) {
  const auto csvFiles = [](const std::string& name) { return name.size() > 4 && name.ends_with(".csv"); };
  const std::string translated = driver::SqliteStatement(sql, csvFiles);
  if (translated.size() > 2 * sql.size() + 2) return "a translation that grew too much";
  std::string lower(sql);
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  const bool plain = lower.find_first_of("{}.") == std::string::npos && lower.find("date") == std::string::npos &&
                     lower.find("time") == std::string::npos;
  if (plain && translated != sql) return "a plain statement was changed";
  return {};
}

// A connection string is refused only for an unclosed brace; the pairs it gives have keywords
// and read the same again when they are written back.
inline std::string CheckConnectionString(std::string_view text) {
  driver::ConnectionAttributes attributes;
  try {
    attributes = driver::ParseConnectionString(text);
  } catch (const driver::SqlError& error) {
    return error.SqlState() == "08001" ? std::string() : "refused with " + error.SqlState();
  }
  for (const auto& [key, value] : attributes.Pairs()) {
    if (key.empty() || key.find_first_of(";=") != std::string::npos) return "a keyword that cannot be written";
  }
  if (driver::ParseConnectionString(driver::FormatConnectionString(attributes)).Pairs() != attributes.Pairs()) {
    return "other pairs after writing them back";
  }
  return {};
}

}  // namespace quorlin::fuzz
