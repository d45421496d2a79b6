#include "odbc_session.h"

#include "odbc/driver/cell_value.h"
#include "text/preview_loader.h"

namespace quorlin::testing {

std::string Diagnostic(SQLSMALLINT handleType, SQLHANDLE handle) {
  SQLCHAR state[6] = {};
  SQLCHAR message[1024] = {};
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, 1, state, &native, message, sizeof message, &length))) {
    return {};
  }
  return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

OdbcSession::OdbcSession(const std::string& connectionString) {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_);
  SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection_);
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  std::string text = connectionString;
  const SQLRETURN result = SQLDriverConnect(connection_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS,
                                            out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
  connected_ = SQL_SUCCEEDED(result);
  if (!connected_) error_ = Diagnostic(SQL_HANDLE_DBC, connection_);
}

OdbcSession::~OdbcSession() {
  if (connected_) SQLDisconnect(connection_);
  SQLFreeHandle(SQL_HANDLE_DBC, connection_);
  SQLFreeHandle(SQL_HANDLE_ENV, environment_);
}

OdbcStatement::OdbcStatement(const OdbcSession& session) {
  SQLAllocHandle(SQL_HANDLE_STMT, session.Connection(), &statement_);
}

OdbcStatement::~OdbcStatement() { SQLFreeHandle(SQL_HANDLE_STMT, statement_); }

QueryResult FetchAll(SQLHSTMT statement) {
  QueryResult result;
  SQLSMALLINT count = 0;
  SQLNumResultCols(statement, &count);
  for (SQLUSMALLINT k = 1; k <= count; ++k) {
    SQLCHAR name[256];
    SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLDescribeCol(statement, k, name, sizeof name, &nameLength, &type, &size, &digits, &nullable);
    result.columns.emplace_back(reinterpret_cast<char*>(name));
  }
  for (;;) {
    const SQLRETURN fetched = SQLFetch(statement);
    if (fetched == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(fetched)) {
      result.error = Diagnostic(SQL_HANDLE_STMT, statement);
      break;
    }
    std::vector<std::string>& row = result.rows.emplace_back();
    for (SQLUSMALLINT k = 1; k <= count; ++k) {
      char buffer[4096];
      SQLLEN indicator = 0;
      if (!SQL_SUCCEEDED(SQLGetData(statement, k, SQL_C_CHAR, buffer, sizeof buffer, &indicator))) {
        result.error = Diagnostic(SQL_HANDLE_STMT, statement);
        return result;
      }
      row.push_back(indicator == SQL_NULL_DATA ? "NULL" : std::string(buffer));
    }
  }
  return result;
}

std::vector<std::vector<std::string>> BarRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    if (line.empty() || line.starts_with("SQLRowCount") || line.find("fetched") != std::string::npos) continue;
    std::vector<std::string>& row = rows.emplace_back();
    std::size_t from = 0;
    for (std::size_t bar; (bar = line.find('|', from)) != std::string::npos; from = bar + 1) {
      row.push_back(line.substr(from, bar - from));
    }
    row.push_back(line.substr(from));
  }
  return rows;
}

QueryResult RunQuery(const OdbcSession& session, const std::string& sql) {
  OdbcStatement statement(session);
  std::string text = sql;
  if (!SQL_SUCCEEDED(SQLExecDirect(statement.Handle(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
    QueryResult failed;
    failed.error = statement.Error();
    return failed;
  }
  return FetchAll(statement.Handle());
}

std::vector<std::vector<std::string>> PreviewRows(const std::string& path, const std::string& separator, bool header,
                                                  const std::vector<driver::ColumnKind>& kinds) {
  PreviewOptions options;
  options.separator = separator;
  options.hasHeaderRow = header;
  options.rowsToScan = 1000000;
  std::vector<std::vector<std::string>> rows;
  for (const auto& cells : LoadPreview(path, options).rows) {
    std::vector<std::string>& row = rows.emplace_back();
    for (std::size_t k = 0; k < cells.size(); ++k) {
      const driver::CellValue value = driver::ConvertField(cells[k], kinds[k], LocaleSettings{});
      std::string shown = value.kind == driver::CellValue::Kind::Null ? "NULL" : "";
      driver::AppendCharacterForm(value, shown);
      row.push_back(shown);
    }
  }
  return rows;
}

}  // namespace quorlin::testing
