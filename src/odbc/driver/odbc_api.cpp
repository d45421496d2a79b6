// The ODBC entry points the driver manager calls: thin wrappers that check handles, turn
// arguments into C++ values and every failure into a diagnostic record, so that no exception
// and no bad handle ever reaches the client process.
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

#include "odbc/driver/catalog_results.h"
#include "odbc/driver/entry_points.h"
#include "odbc/driver/handles.h"
#include "odbc/driver/output_buffers.h"
#include "odbc/driver/sql_error.h"
#include "odbc/driver/statement_ops.h"

using namespace quorlin::driver;

namespace {

SQLRETURN FreeStatement(Statement* statement) {
  auto& statements = statement->connection->statements;
  std::erase_if(statements, [statement](const auto& owned) { return owned.get() == statement; });
  return SQL_SUCCESS;
}

// SQLGetData past its short way, out of line, so that the short way, taken for nearly every
// value of a fetch loop, saves and restores no registers for the error handling here.
[[gnu::noinline]] SQLRETURN GetDataChecked(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType,
                                           SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
  return Run(statement.diagnostics,
             [&] { return GetData(statement, column, targetType, target, bufferLength, indicator); });
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT handleType, SQLHANDLE inputHandle, SQLHANDLE* outputHandle) {
  if (outputHandle == nullptr) return SQL_ERROR;
  *outputHandle = SQL_NULL_HANDLE;
  try {
    switch (handleType) {
      case SQL_HANDLE_ENV:
        *outputHandle = new Environment();
        return SQL_SUCCESS;
      case SQL_HANDLE_DBC: {
        Environment* environment = AsEnvironment(inputHandle);
        if (environment == nullptr) return SQL_INVALID_HANDLE;
        return Run(environment->diagnostics, [&] {
          *outputHandle = new Connection(environment);
          return SQL_SUCCESS;
        });
      }
      case SQL_HANDLE_STMT: {
        Connection* connection = AsConnection(inputHandle);
        if (connection == nullptr) return SQL_INVALID_HANDLE;
        return Run(connection->diagnostics, [&] {
          ExpectConnected(*connection);
          connection->statements.push_back(std::make_unique<Statement>(connection));
          *outputHandle = connection->statements.back().get();
          return SQL_SUCCESS;
        });
      }
      case SQL_HANDLE_DESC: {
        Connection* connection = AsConnection(inputHandle);
        if (connection == nullptr) return SQL_INVALID_HANDLE;
        return Run(connection->diagnostics, []() -> SQLRETURN {
          throw SqlError(state::kNotImplemented, "Optional feature not implemented: explicit descriptors");
        });
      }
      default:
        return SQL_ERROR;
    }
  } catch (...) {
    return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT handleType, SQLHANDLE handle) {
  switch (handleType) {
    case SQL_HANDLE_ENV:
      if (Environment* environment = AsEnvironment(handle)) {
        environment->tag = HandleTag::Freed;
        delete environment;
        return SQL_SUCCESS;
      }
      return SQL_INVALID_HANDLE;
    case SQL_HANDLE_DBC:
      if (Connection* connection = AsConnection(handle)) {
        delete connection;
        return SQL_SUCCESS;
      }
      return SQL_INVALID_HANDLE;
    case SQL_HANDLE_STMT:
      if (Statement* statement = AsStatement(handle)) return FreeStatement(statement);
      return SQL_INVALID_HANDLE;
    default:
      return SQL_INVALID_HANDLE;
  }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  Environment* environment = AsEnvironment(handle);
  if (environment == nullptr) return SQL_INVALID_HANDLE;
  return Run(environment->diagnostics, [&]() -> SQLRETURN {
    const auto number = static_cast<SQLINTEGER>(reinterpret_cast<SQLLEN>(value));
    switch (attribute) {
      case SQL_ATTR_ODBC_VERSION:
        environment->odbcVersion = number;
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_POOLING:
      case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
      case SQL_ATTR_OUTPUT_NTS:
        if (number != SQL_TRUE) throw SqlError(state::kNotImplemented, "Strings always end with a NUL");
        return SQL_SUCCESS;
      default:
        throw SqlError(state::kBadAttribute, "Environment attribute " + std::to_string(attribute) + " is not known");
    }
  });
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                SQLINTEGER* stringLength) {
  Environment* environment = AsEnvironment(handle);
  if (environment == nullptr) return SQL_INVALID_HANDLE;
  return Run(environment->diagnostics, [&]() -> SQLRETURN {
    Store(stringLength, static_cast<SQLINTEGER>(sizeof(SQLUINTEGER)));
    switch (attribute) {
      case SQL_ATTR_ODBC_VERSION:
        Store(value, static_cast<SQLUINTEGER>(environment->odbcVersion));
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_POOLING:
        Store(value, static_cast<SQLUINTEGER>(SQL_CP_OFF));
        return SQL_SUCCESS;
      case SQL_ATTR_CP_MATCH:
        Store(value, static_cast<SQLUINTEGER>(SQL_CP_STRICT_MATCH));
        return SQL_SUCCESS;
      case SQL_ATTR_OUTPUT_NTS:
        Store(value, static_cast<SQLINTEGER>(SQL_TRUE));
        return SQL_SUCCESS;
      default:
        throw SqlError(state::kBadAttribute, "Environment attribute " + std::to_string(attribute) + " is not known");
    }
  });
}

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dataSource, SQLSMALLINT dataSourceLength, SQLCHAR*,
                             SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  return ConnectTo(handle, Text(dataSource, dataSourceLength));
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength, SQLCHAR* out,
                                   SQLSMALLINT outMax, SQLSMALLINT* outLength, SQLUSMALLINT) {
  return DriverConnectWith(handle, Text(in, inLength),
                           [&](std::string_view text) { return CopyString(text, out, outMax, outLength); });
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&] {
    connection->statements.clear();
    connection->connected = false;
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT bufferLength,
                             SQLSMALLINT* stringLength) {
  return GetInfoInto(handle, infoType, value, stringLength,
                     [&](std::string_view text) { return CopyString(text, value, bufferLength, stringLength); });
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&]() -> SQLRETURN {
    const auto number = static_cast<SQLUINTEGER>(reinterpret_cast<SQLULEN>(value));
    switch (attribute) {
      case SQL_ATTR_AUTOCOMMIT:
        connection->autocommit = number;
        return SQL_SUCCESS;
      case SQL_ATTR_LOGIN_TIMEOUT:
        connection->loginTimeout = number;
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_TIMEOUT:
        connection->connectionTimeout = number;
        return SQL_SUCCESS;
      case SQL_ATTR_ACCESS_MODE:
        if (number == SQL_MODE_READ_ONLY) return SQL_SUCCESS;
        connection->diagnostics.Add(state::kOptionChanged, "Option value changed: the data source stays read only");
        return SQL_SUCCESS_WITH_INFO;
      case SQL_ATTR_ANSI_APP:
      case SQL_ATTR_QUIET_MODE:
      case SQL_ATTR_PACKET_SIZE:
        // Nothing here depends on them: the driver speaks bytes and shows no windows.
        return SQL_SUCCESS;
      case SQL_ATTR_ASYNC_ENABLE:
      case SQL_ATTR_METADATA_ID:
        if (number != 0) throw SqlError(state::kNotImplemented, "Optional feature not implemented");
        return SQL_SUCCESS;
      case SQL_ATTR_TXN_ISOLATION:
      case SQL_ATTR_CURRENT_CATALOG:
        throw SqlError(state::kNotImplemented, "Optional feature not implemented: the text driver has no transactions "
                                               "and no catalogs");
      default:
        throw SqlError(state::kBadAttribute, "Connection attribute " + std::to_string(attribute) + " is not known");
    }
  });
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER bufferLength, SQLINTEGER* stringLength) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&]() -> SQLRETURN {
    const auto number = [&](SQLUINTEGER result) {
      Store(value, result);
      Store(stringLength, static_cast<SQLINTEGER>(sizeof result));
      return SQL_SUCCESS;
    };
    switch (attribute) {
      case SQL_ATTR_AUTOCOMMIT:
        return number(connection->autocommit);
      case SQL_ATTR_LOGIN_TIMEOUT:
        return number(connection->loginTimeout);
      case SQL_ATTR_CONNECTION_TIMEOUT:
        return number(connection->connectionTimeout);
      case SQL_ATTR_ACCESS_MODE:
        return number(SQL_MODE_READ_ONLY);
      case SQL_ATTR_CONNECTION_DEAD:
        return number(connection->connected ? SQL_CD_FALSE : SQL_CD_TRUE);
      case SQL_ATTR_TXN_ISOLATION:
      case SQL_ATTR_ASYNC_ENABLE:
      case SQL_ATTR_METADATA_ID:
      case SQL_ATTR_AUTO_IPD:
        return number(0);
      case SQL_ATTR_CURRENT_CATALOG:
        return CopyString(std::string(), value, bufferLength, stringLength) ? Truncated(connection->diagnostics)
                                                                             : SQL_SUCCESS;
      default:
        throw SqlError(state::kBadAttribute, "Connection attribute " + std::to_string(attribute) + " is not known");
    }
  });
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT completionType) {
  std::string ignored;
  Diagnostics* diagnostics = DiagnosticsOf(handleType, handle, &ignored);
  if (diagnostics == nullptr || handleType == SQL_HANDLE_STMT) return SQL_INVALID_HANDLE;
  return Run(*diagnostics, [&]() -> SQLRETURN {
    if (completionType != SQL_COMMIT && completionType != SQL_ROLLBACK) {
      throw SqlError(state::kBadTransactionCode, "Invalid transaction operation code");
    }
    // Nothing is ever written, so there is nothing to commit or roll back.
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                SQLCHAR* sqlState, SQLINTEGER* nativeError, SQLCHAR* messageText,
                                SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
  std::string dataSource;
  const Diagnostics* diagnostics = DiagnosticsOf(handleType, handle, &dataSource);
  if (diagnostics == nullptr) return SQL_INVALID_HANDLE;
  return GetDiagRec(*diagnostics, recordNumber, sqlState, nativeError, messageText, bufferLength, textLength);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                  SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength) {
  std::string dataSource;
  const Diagnostics* diagnostics = DiagnosticsOf(handleType, handle, &dataSource);
  if (diagnostics == nullptr) return SQL_INVALID_HANDLE;
  return GetDiagField(*diagnostics, recordNumber, field, info, bufferLength, stringLength, dataSource, dataSource);
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  return PrepareText(handle, Text(text, length));
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    Execute(*statement);
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  return ExecuteText(handle, Text(text, length));
}

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength, SQLCHAR* schema,
                            SQLSMALLINT schemaLength, SQLCHAR* table, SQLSMALLINT tableLength, SQLCHAR* types,
                            SQLSMALLINT typesLength) {
  return ListTables(handle, OptionalText(catalog, catalogLength), OptionalText(schema, schemaLength),
                    OptionalText(table, tableLength), OptionalText(types, typesLength));
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLCHAR* table,
                             SQLSMALLINT tableLength, SQLCHAR* column, SQLSMALLINT columnLength) {
  return ListColumns(handle, OptionalText(table, tableLength), OptionalText(column, columnLength));
}

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT dataType) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    OpenRows(*statement, TypeInfoResult(dataType, statement->connection->Odbc3()));
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    Store(count, static_cast<SQLSMALLINT>(statement->described.size()));
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                                 SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize,
                                 SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    return DescribeColumn(*statement, column, name, bufferLength, nameLength, dataType, columnSize, decimalDigits,
                          nullable);
  });
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                  SQLPOINTER characterAttribute, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* stringLength, SQLLEN* numericAttribute) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    return ColumnAttribute(*statement, column, field, characterAttribute, bufferLength, stringLength,
                           numericAttribute);
  });
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    BindColumn(*statement, column, targetType, target, bufferLength, indicator);
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] { return FetchRowset(*statement); });
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    if (orientation != SQL_FETCH_NEXT) {
      throw SqlError(state::kBadFetchType, "Fetch type out of range: the cursor is forward only");
    }
    return FetchRowset(*statement);
  });
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                             SQLLEN bufferLength, SQLLEN* indicator) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  if (GetFittingText(*statement, column, targetType, target, bufferLength, indicator)) {
    statement->diagnostics.Clear();
    return statement->diagnostics.Finish(SQL_SUCCESS);
  }
  return GetDataChecked(*statement, column, targetType, target, bufferLength, indicator);
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    // Only SELECTs run, and their row count is not known before the last row.
    Store(count, SQLLEN{-1});
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    if (!statement->cursor) throw SqlError(state::kInvalidCursorState, "Invalid cursor state: no cursor is open");
    statement->CloseCursor();
    return SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  if (option == SQL_DROP) return FreeStatement(statement);
  return Run(statement->diagnostics, [&]() -> SQLRETURN {
    switch (option) {
      case SQL_CLOSE:
        statement->CloseCursor();
        return SQL_SUCCESS;
      case SQL_UNBIND:
        statement->bindings.clear();
        return SQL_SUCCESS;
      case SQL_RESET_PARAMS:
        return SQL_SUCCESS;
      default:
        throw SqlError("HY092", "Option type out of range");
    }
  });
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    statement->CloseCursor();
    return SQL_NO_DATA;
  });
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] { return SetStatementAttribute(*statement, attribute, value); });
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                 SQLINTEGER* stringLength) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics,
             [&] { return GetStatementAttribute(*statement, attribute, value, bufferLength, stringLength); });
}

}  // extern "C"
