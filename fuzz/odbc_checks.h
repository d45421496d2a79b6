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

// A query is refused with a syntax error alone, and one that is read reads the same again
// when it is written back.
inline std::string CheckSelect(std::string_view sql) {
  driver::SelectQuery query;
  try {
    query = driver::ParseSelect(sql);
  } catch (const driver::SqlError& error) {
    return error.SqlState() == "42000" ? std::string() : "refused with " + error.SqlState();
  }
  if (query.table.empty()) return "a query without a table";
  try {
    if (driver::ParseSelect(driver::FormatSelect(query)) != query) return "another query after writing it back";
  } catch (const driver::SqlError& error) {
    return std::string("the query written back is refused: ") + error.what();
  }
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
