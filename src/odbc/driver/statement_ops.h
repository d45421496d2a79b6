// What the statement calls do, apart from the C calling convention of the entry points.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string_view>

#include "odbc/driver/handles.h"
#include "odbc/driver/value_output.h"

namespace quorlin::driver {

// Prepares the statement with the connection's SQL engine, so that it can be described before
// it runs. Raises SqlError (42000, 42S02, 42S22, HY000).
void Prepare(Statement& statement, std::string_view sql);

// Runs the prepared statement to its first row.
void Execute(Statement& statement);

// Opens the cursor of a catalog function's rows.
void OpenRows(Statement& statement, std::unique_ptr<ResultSet> rows);

// SQLFetch and SQLFetchScroll(SQL_FETCH_NEXT): the next rowset into the bound columns.
SQLRETURN FetchRowset(Statement& statement);

// SQLGetData's short way, before any of its checks, for the call a fetch loop makes for nearly
// every value: a new column of a row the cursor holds, as text into a buffer it fits (see
// WriteFittingText). True when it wrote the value; false, changing nothing, leaves it to GetData.
inline bool GetFittingText(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                           SQLLEN bufferLength, SQLLEN* indicator) {
  if (targetType != SQL_C_CHAR || !statement.onRow || statement.rowArraySize != 1 ||
      statement.piece.column == column || column == 0 || column > statement.described.size()) {
    return false;
  }
  const std::string_view* texts = statement.cursor->HeldTexts();
  if (texts == nullptr || !WriteFittingText(texts[column - 1], target, bufferLength, indicator)) return false;
  statement.piece.Start(column);
  statement.piece.delivered = true;
  return true;
}

SQLRETURN GetData(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                  SQLLEN bufferLength, SQLLEN* indicator);

void BindColumn(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                SQLLEN bufferLength, SQLLEN* indicator);

SQLRETURN DescribeColumn(const Statement& statement, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                         SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize,
                         SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable);

SQLRETURN ColumnAttribute(const Statement& statement, SQLUSMALLINT column, SQLUSMALLINT field,
                          SQLPOINTER characterAttribute, SQLSMALLINT bufferLength, SQLSMALLINT* stringLength,
                          SQLLEN* numericAttribute);

SQLRETURN SetStatementAttribute(Statement& statement, SQLINTEGER attribute, SQLPOINTER value);
SQLRETURN GetStatementAttribute(const Statement& statement, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER bufferLength, SQLINTEGER* stringLength);

}  // namespace quorlin::driver
