// The data files of a folder as read-only virtual tables of SQLite: the module "quorlin".
#pragma once

#include <sqlite3.h>

#include <map>
#include <optional>
#include <string>

#include "odbc/driver/sql_error.h"
#include "odbc/driver/table_layout.h"

namespace quorlin::driver {

// What the tables of one database share with the code that runs statements on it.
struct TableModuleContext {
  // Layouts read before their tables are created, by table name: the driver reads a layout
  // itself, so that a layout's failure keeps its SQLSTATE.
  std::map<std::string, TableLayout> readLayouts;
  // The failure of the value or record that made the last step fail, with its SQLSTATE.
  std::optional<SqlError> failure;
};

// SQL statements name at most this many columns of a table or a result; a file with more is
// refused when a statement first names it.
inline constexpr std::size_t kMaxColumns = 32767;

// Registers the module on `db`. With a context, a table takes its layout from the context's
// read layouts; without one (the loadable extension), its argument is the path of a data file
// ('/data/customers.csv') whose layout it reads from the file's folder.
int RegisterTableModule(sqlite3* db, TableModuleContext* context);

// `text` between `quote` characters, each one inside doubled: a name ('"') or a text ('\'') of SQL.
std::string SqlQuoted(const std::string& text, char quote);

// The declared SQL type of a column: its type name, with the width of a text.
std::string DeclaredType(const ColumnDef& column);

}  // namespace quorlin::driver
