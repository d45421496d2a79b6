// Talking to the text driver through the real driver manager, as a client does.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

#include "odbc/driver/column_kind.h"

namespace quorlin::testing {

// The first diagnostic record of a handle as "SQLSTATE message".
std::string Diagnostic(SQLSMALLINT handleType, SQLHANDLE handle);

// An environment and a connection made with SQLDriverConnect; `error` holds the diagnostic
// when connecting failed.
class OdbcSession {
 public:
  explicit OdbcSession(const std::string& connectionString);
  ~OdbcSession();
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;

  bool Connected() const { return connected_; }
  const std::string& Error() const { return error_; }
  SQLHDBC Connection() const { return connection_; }

 private:
  SQLHENV environment_ = SQL_NULL_HENV;
  SQLHDBC connection_ = SQL_NULL_HDBC;
  bool connected_ = false;
  std::string error_;
};

// A statement of a connection, freed with it.
class OdbcStatement {
 public:
  explicit OdbcStatement(const OdbcSession& session);
  ~OdbcStatement();
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  SQLHSTMT Handle() const { return statement_; }
  std::string Error() const { return Diagnostic(SQL_HANDLE_STMT, statement_); }

 private:
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
};

// Rows as text: every value read with SQLGetData as SQL_C_CHAR, NULL as "NULL".
struct QueryResult {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  std::string error;  // the diagnostic of the call that failed, else empty
};

QueryResult RunQuery(const OdbcSession& session, const std::string& sql);

// What SELECT * of a file must give: the program's own preview of it (all lines, `separator`,
// the double quote as qualifier, line 1 as header when `header`), each cell in the character
// form of its column's kind, NULL as "NULL".
std::vector<std::vector<std::string>> PreviewRows(const std::string& path, const std::string& separator, bool header,
                                                  const std::vector<driver::ColumnKind>& kinds);
// isql's output with -d'|' as rows of cells, without its closing lines.
std::vector<std::vector<std::string>> BarRows(const std::string& text);

// The rows of an already executed statement.
QueryResult FetchAll(SQLHSTMT statement);

}  // namespace quorlin::testing
