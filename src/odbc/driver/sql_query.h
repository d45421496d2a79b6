// What the driver changes in a client's statement before SQLite reads it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorlin::driver {

// Whether a name stands for a data file of the folder.
using NamesTableFile = std::function<bool(const std::string& name)>;

// The statement as SQLite reads it. A dotted name whose leading parts name a data file
// (orders.csv, "orders"."csv") becomes that one quoted name, as clients write file names that
// SQLite would otherwise read as a schema and a table. The ODBC escapes become plain SQL:
// {d '…'}, {t '…'}, {ts '…'} and DATE, TIME or TIMESTAMP before a quoted text become the text,
// {fn …} and {oj …} their contents, {escape '…'} ESCAPE '…'. Quoted texts and comments are
// left alone. Never fails: what it does not recognise stays as written.
std::string SqliteStatement(std::string_view sql, const NamesTableFile& namesTableFile);

}  // namespace quorlin::driver
