// Reading a table through the driver manager, as "&Open Table" does with Qt's ODBC driver.
#include "cli/dsn_table.h"

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli_error.h"
#include "cli/json_text.h"

namespace quorlin {

namespace {

// The messages of a handle's diagnostic records, one after the other.
std::string Diagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLCHAR message[2048] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state, &native, message, sizeof message, &length))) {
      break;
    }
    if (!text.empty()) text += ' ';
    text += reinterpret_cast<const char*>(message);
  }
  return text.empty() ? "The ODBC call failed without a message" : text;
}

// One ODBC handle, freed when it goes.
class Handle {
 public:
  Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) {
      throw CliError(kExitStopped, parent == SQL_NULL_HANDLE ? "The ODBC driver manager cannot be used"
                                                             : Diagnostics(type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV
                                                                                                  : SQL_HANDLE_DBC,
                                                                           parent));
    }
  }
  ~Handle() { SQLFreeHandle(type_, handle_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  SQLHANDLE Get() const { return handle_; }
  // Raises the handle's diagnostics when `result` is a failure.
  void Check(SQLRETURN result) const {
    if (!SQL_SUCCEEDED(result)) throw CliError(kExitStopped, Diagnostics(type_, handle_));
  }

 private:
  SQLSMALLINT type_;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

class Connection {
 public:
  Connection(const Handle& environment, const std::string& dataSource)
      : handle_(SQL_HANDLE_DBC, environment.Get()) {
    std::string text = "DSN=" + dataSource;
    handle_.Check(SQLDriverConnect(handle_.Get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr,
                                   0, nullptr, SQL_DRIVER_NOPROMPT));
  }
  ~Connection() { SQLDisconnect(handle_.Get()); }
  const Handle& Get() const { return handle_; }

 private:
  Handle handle_;
};

std::string ColumnText(const Handle& statement, SQLUSMALLINT column, SQLUSMALLINT field) {
  SQLCHAR text[512] = {};
  SQLSMALLINT length = 0;
  statement.Check(SQLColAttribute(statement.Get(), column, field, text, sizeof text, &length, nullptr));
  return reinterpret_cast<const char*>(text);
}

// The value of a column of the current row, read in pieces; nothing for NULL.
std::optional<std::string> ColumnValue(const Handle& statement, SQLUSMALLINT column) {
  std::string value;
  char piece[8192];
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN result = SQLGetData(statement.Get(), column, SQL_C_CHAR, piece, sizeof piece, &indicator);
    if (result == SQL_NO_DATA) break;
    statement.Check(result);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    // The length, not the terminating NUL, ends the piece: a value may hold NUL bytes.
    const bool whole = indicator != SQL_NO_TOTAL && indicator < static_cast<SQLLEN>(sizeof piece);
    value.append(piece, whole ? static_cast<std::size_t>(indicator) : sizeof piece - 1);
    if (result == SQL_SUCCESS) break;
  }
  return value;
}

// "[name]" with "]" doubled, so any file name stays one table name.
std::string BracketedName(const std::string& table) {
  std::string name = "[";
  for (const char c : table) {
    name += c;
    if (c == ']') name += ']';
  }
  return name + "]";
}

}  // namespace

void PrintDataSourceTable(const std::string& dataSource, const std::string& table, bool json, std::ostream& out) {
  PrintDataSourceQuery(dataSource, "SELECT * FROM " + BracketedName(table), json, out);
}

void PrintDataSourceQuery(const std::string& dataSource, const std::string& query, bool json, std::ostream& out) {
  const Handle environment(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  environment.Check(
      SQLSetEnvAttr(environment.Get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0));
  const Connection connection(environment, dataSource);
  const Handle statement(SQL_HANDLE_STMT, connection.Get().Get());
  std::string sql = query;
  statement.Check(SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS));

  SQLSMALLINT count = 0;
  statement.Check(SQLNumResultCols(statement.Get(), &count));
  nlohmann::ordered_json columns = nlohmann::ordered_json::array();
  std::string header;
  for (SQLUSMALLINT k = 1; k <= count; ++k) {
    const std::string name = ColumnText(statement, k, SQL_DESC_NAME);
    columns.push_back({{"name", JsonText(name)}, {"type", ColumnText(statement, k, SQL_DESC_TYPE_NAME)}});
    header += (k > 1 ? "\t" : "") + name;
  }
  if (json) {
    out << "{\"columns\":" << columns.dump() << ",\"rows\":[";
  } else {
    out << header << '\n';
  }
  for (bool first = true;; first = false) {
    const SQLRETURN fetched = SQLFetch(statement.Get());
    if (fetched == SQL_NO_DATA) break;
    statement.Check(fetched);
    nlohmann::ordered_json row = nlohmann::ordered_json::array();
    std::string line;
    for (SQLUSMALLINT k = 1; k <= count; ++k) {
      const std::optional<std::string> value = ColumnValue(statement, k);
      if (json) {
        row.push_back(value ? nlohmann::ordered_json(JsonText(*value)) : nlohmann::ordered_json());
      } else {
        line += (k > 1 ? "\t" : "") + value.value_or("");
      }
    }
    if (json) {
      out << (first ? "" : ",") << row.dump();
    } else {
      out << line << '\n';
    }
  }
  if (json) out << "]}\n";
}

}  // namespace quorlin
