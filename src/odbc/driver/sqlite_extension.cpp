// The loadable SQLite extension: the same tables as the driver's, in any program that uses SQLite.
//   .load quorlin_sqlite
//   CREATE VIRTUAL TABLE customers USING quorlin('/data/customers.csv');
//   SELECT quorlin_attach('/data');   -- every data file of the folder, as temp."<file name>"
#include <sqlite3.h>

#include <exception>
#include <string>

#include "odbc/driver/sql_error.h"
#include "odbc/driver/sqlite_tables.h"
#include "odbc/driver/table_files.h"
#include "platform/folder_files.h"

namespace {

using namespace quorlin::driver;

// quorlin_attach(folder [, extensions]): a temporary table for each data file of the folder,
// named after the file; gives how many there are. Tables of the same name stay as they are.
void AttachFolder(sqlite3_context* context, int argc, sqlite3_value** argv) {
  const auto* folderText = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  if (folderText == nullptr) {
    sqlite3_result_error(context, "quorlin_attach needs a folder", -1);
    return;
  }
  const auto* extensionsText = argc > 1 ? reinterpret_cast<const char*>(sqlite3_value_text(argv[1])) : nullptr;
  try {
    const std::string folder = quorlin::WithTrailingSlash(folderText);
    const auto names = ListTableFiles(folder, ParseExtensions(extensionsText != nullptr ? extensionsText : ""));
    sqlite3* db = sqlite3_context_db_handle(context);
    for (const std::string& name : names) {
      const std::string create = "CREATE VIRTUAL TABLE IF NOT EXISTS temp." + SqlQuoted(name, '"') +
                                 " USING quorlin(" + SqlQuoted(folder + name, '\'') + ")";
      char* error = nullptr;
      if (sqlite3_exec(db, create.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : sqlite3_errmsg(db);
        sqlite3_free(error);
        sqlite3_result_error(context, message.c_str(), -1);
        return;
      }
    }
    sqlite3_result_int64(context, static_cast<sqlite3_int64>(names.size()));
  } catch (const std::exception& error) {
    sqlite3_result_error(context, error.what(), -1);
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int sqlite3_quorlinsqlite_init(sqlite3* db, char**,
                                                                                 const sqlite3_api_routines*) {
  int result = RegisterTableModule(db, nullptr);
  if (result != SQLITE_OK) return result;
  for (const int arguments : {1, 2}) {
    result = sqlite3_create_function_v2(db, "quorlin_attach", arguments, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                                        AttachFolder, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) return result;
  }
  return SQLITE_OK;
}
