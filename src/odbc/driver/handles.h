// The environment, connection and statement objects behind the handles the driver hands out.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "odbc/driver/catalog_results.h"
#include "odbc/driver/diagnostics.h"
#include "odbc/driver/result_set.h"
#include "odbc/driver/sql_database.h"
#include "odbc/driver/value_output.h"

namespace quorlin::driver {

// Every object starts with its kind's tag, so a handle of the wrong kind, or one already
// freed, is refused as invalid instead of being used.
enum class HandleTag : std::uint32_t {
  Environment = 0x51454e56,
  Connection = 0x5144424b,
  Statement = 0x51535454,
  Freed = 0,
};

struct Statement;

struct Environment {
  HandleTag tag = HandleTag::Environment;
  Diagnostics diagnostics;
  SQLINTEGER odbcVersion = SQL_OV_ODBC3;
};

struct Connection {
  explicit Connection(Environment* owner) : environment(owner) {}
  ~Connection();

  HandleTag tag = HandleTag::Connection;
  Environment* environment;
  Diagnostics diagnostics;
  bool connected = false;
  std::string dataSource;  // the DSN, empty for a connection by DefaultDir alone
  FolderSource source;
  SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
  SQLUINTEGER loginTimeout = 0;
  SQLUINTEGER connectionTimeout = 0;
  std::unique_ptr<SqlDatabase> database;  // opened by the first statement
  std::vector<std::unique_ptr<Statement>> statements;

  bool Odbc3() const { return environment->odbcVersion != SQL_OV_ODBC2; }
};

// What SQLBindCol attached to a column.
struct ColumnBinding {
  SQLSMALLINT targetType = 0;
  SQLPOINTER target = nullptr;
  SQLLEN bufferLength = 0;
  SQLLEN* indicator = nullptr;
};

struct Statement {
  explicit Statement(Connection* owner) : connection(owner) {}
  ~Statement() { tag = HandleTag::Freed; }

  HandleTag tag = HandleTag::Statement;
  Connection* connection;
  Diagnostics diagnostics;

  std::optional<PreparedQuery> prepared;
  std::vector<ResultColumn> described;  // the columns of the prepared query or the open cursor
  std::unique_ptr<ResultSet> cursor;
  bool onRow = false;        // the cursor stands on a row
  long long rowsFetched = 0;
  PieceState piece;       // the column SQLGetData reads
  PieceState boundPiece;  // room for a bound column's value while it is written

  std::vector<ColumnBinding> bindings;  // index 0 is column 1

  // Statement attributes.
  SQLULEN rowArraySize = 1;
  SQLULEN rowBindType = SQL_BIND_BY_COLUMN;
  SQLLEN* rowBindOffset = nullptr;
  SQLULEN* rowsFetchedPointer = nullptr;
  SQLUSMALLINT* rowStatusPointer = nullptr;
  SQLULEN maxRows = 0;
  SQLULEN queryTimeout = 0;
  SQLULEN maxLength = 0;
  SQLULEN noScan = SQL_NOSCAN_OFF;
  SQLULEN retrieveData = SQL_RD_ON;
  SQLULEN useBookmarks = SQL_UB_OFF;

  // Closes the cursor; the prepared query stays.
  void CloseCursor();
};

Environment* AsEnvironment(SQLHANDLE handle);
Connection* AsConnection(SQLHANDLE handle);
// Inline, as every SQLGetData of a fetch loop starts here.
inline Statement* AsStatement(SQLHANDLE handle) {
  auto* statement = static_cast<Statement*>(handle);
  return statement != nullptr && statement->tag == HandleTag::Statement ? statement : nullptr;
}

}  // namespace quorlin::driver
