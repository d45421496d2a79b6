// A connection's in-memory SQLite database, whose tables are the folder's data files.
#pragma once

#include <sqlite3.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/driver/catalog_results.h"
#include "odbc/driver/plain_scan.h"
#include "odbc/driver/result_set.h"
#include "odbc/driver/sqlite_tables.h"

namespace quorlin::driver {

// A statement SQLite prepared, with what the driver knows of its result columns.
struct PreparedQuery {
  std::shared_ptr<sqlite3_stmt> statement;
  std::vector<ResultColumn> columns;
  // Columns that are no plain field of a table: their type is the one SQLite gives the first row.
  std::vector<bool> typedByValue;
  // Set when the statement is a plain pass over one table, whose rows the file gives directly.
  std::optional<PlainScan> scan;
  unsigned layoutsGeneration = 0;  // the tables' layouts the statement was prepared with
};

class SqlDatabase {
 public:
  explicit SqlDatabase(FolderSource source);
  ~SqlDatabase();
  SqlDatabase(const SqlDatabase&) = delete;
  SqlDatabase& operator=(const SqlDatabase&) = delete;

  // Prepares one statement that only reads; a data file it names becomes a table the first
  // time. Raises SqlError: 42000 for a syntax error, more than one statement or a statement
  // that would write, attach, load an extension or change a setting; 42S02 for a table that
  // is no file of the folder, 42S22 for an unknown column, HY000 for a layout that cannot be used.
  PreparedQuery Prepare(std::string_view sql);

  // Moves `statement` to its next row; false after the last. A failure raises the SqlError of
  // the value or record that caused it, else HY000 with SQLite's message.
  bool Step(sqlite3_stmt* statement);

  // The rows of a prepared query: straight from the file for a plain pass over a table whose
  // layout has not changed since, else through the engine.
  std::unique_ptr<ResultSet> Rows(const PreparedQuery& query);

 private:
  void ForgetChangedLayouts();
  std::string SchemaStamp() const;
  static int Authorize(void* self, int action, const char* first, const char* second, const char*, const char*);
  bool CreateTableFor(const std::string& message);
  std::vector<ResultColumn> Describe(sqlite3_stmt* statement, std::vector<bool>& typedByValue) const;
  [[noreturn]] void RaisePrepareFailure(const std::string& message);

  FolderSource source_;
  TableModuleContext context_;
  std::map<std::string, TableLayout> layouts_;  // by lower-case table name
  std::string schemaStamp_;                     // the Schema.INI the layouts were read from
  unsigned layoutsGeneration_ = 0;              // counts the times the layouts were read anew
  sqlite3* db_ = nullptr;
  bool creating_ = false;  // the driver's own CREATE VIRTUAL TABLE is running
  std::string refusal_;    // why the authorizer refused the statement being prepared
};

// The rows of a prepared statement as the ODBC calls read them.
class SqlRows : public QueryRows {
 public:
  // Runs the statement to its first row, so that computed columns take that row's types.
  SqlRows(SqlDatabase& database, const PreparedQuery& query);
  ~SqlRows() override;

  const std::vector<ResultColumn>& Columns() const override { return columns_; }
  const CellValue& Value(std::size_t column) const override;

 private:
  bool ReadRow() override;
  CellValue ReadValue(std::size_t column) const;

  SqlDatabase& database_;
  std::shared_ptr<sqlite3_stmt> statement_;
  std::vector<ResultColumn> columns_;
  mutable CellValue value_;  // the value handed out last
};

}  // namespace quorlin::driver
