// Statements that SQLite would run as nothing but one pass over one table in file order, so
// that their rows can come straight from the file.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "odbc/driver/table_layout.h"

namespace quorlin::driver {

struct PlainScan {
  TableLayout layout;
  std::vector<std::size_t> fields;  // the layout's column of each result column
};

// The table and columns `statement` reads when its whole program only opens one of the tables
// in `layouts` (by lower-case name), walks it from the start and hands out some of its fields
// unchanged; nothing for anything more (a condition, an order, a limit, a computed value, a
// join). Judged from the program SQLite compiled, never from the statement's text.
std::optional<PlainScan> FindPlainScan(sqlite3* db, sqlite3_stmt* statement,
                                       const std::map<std::string, TableLayout>& layouts);

}  // namespace quorlin::driver
