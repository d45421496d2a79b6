#include "odbc/driver/entry_points.h"

#include "odbc/driver/catalog_results.h"
#include "odbc/driver/connection_ops.h"
#include "odbc/driver/driver_info.h"
#include "odbc/driver/output_buffers.h"
#include "odbc/driver/statement_ops.h"

namespace quorlin::driver {

std::string Text(const SQLCHAR* text, SQLINTEGER length) {
  if (text == nullptr) return {};
  const char* chars = reinterpret_cast<const char*>(text);
  return length == SQL_NTS ? std::string(chars) : std::string(chars, length < 0 ? 0 : static_cast<std::size_t>(length));
}

std::optional<std::string> OptionalText(const SQLCHAR* text, SQLSMALLINT length) {
  if (text == nullptr) return std::nullopt;
  return Text(text, length);
}

void ExpectConnected(const Connection& connection) {
  if (!connection.connected) throw SqlError(state::kNotConnected, "Connection not open");
}

SQLRETURN Truncated(Diagnostics& diagnostics) {
  diagnostics.Add(state::kTruncated, "String data, right truncated");
  return SQL_SUCCESS_WITH_INFO;
}

Diagnostics* DiagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle, std::string* dataSource) {
  switch (handleType) {
    case SQL_HANDLE_ENV:
      if (Environment* environment = AsEnvironment(handle)) return &environment->diagnostics;
      return nullptr;
    case SQL_HANDLE_DBC:
      if (Connection* connection = AsConnection(handle)) {
        *dataSource = connection->dataSource;
        return &connection->diagnostics;
      }
      return nullptr;
    case SQL_HANDLE_STMT:
      if (Statement* statement = AsStatement(handle)) {
        *dataSource = statement->connection->dataSource;
        return &statement->diagnostics;
      }
      return nullptr;
    default:
      return nullptr;
  }
}

SQLRETURN ConnectTo(SQLHDBC handle, const std::string& dataSource) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&] {
    Connect(*connection, dataSource, {});
    return SQL_SUCCESS;
  });
}

SQLRETURN DriverConnectWith(SQLHDBC handle, const std::string& connectionString, const CopyText& copy) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&] {
    const ConnectionAttributes attributes = ParseConnectionString(connectionString);
    Connect(*connection, attributes.Find("DSN").value_or(""), attributes);
    return copy(CompletedConnectionString(*connection)) ? Truncated(connection->diagnostics) : SQL_SUCCESS;
  });
}

SQLRETURN GetInfoInto(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT* stringLength,
                      const CopyText& copy) {
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&]() -> SQLRETURN {
    const std::optional<InfoValue> info = DriverInfo(*connection, infoType);
    if (!info) throw SqlError(state::kBadInfoType, "Information type " + std::to_string(infoType) + " is not known");
    if (const auto* text = std::get_if<std::string>(&*info)) {
      return copy(*text) ? Truncated(connection->diagnostics) : SQL_SUCCESS;
    }
    if (const auto* small = std::get_if<SQLUSMALLINT>(&*info)) {
      Store(value, *small);
      Store(stringLength, static_cast<SQLSMALLINT>(sizeof(SQLUSMALLINT)));
    } else {
      Store(value, std::get<SQLUINTEGER>(*info));
      Store(stringLength, static_cast<SQLSMALLINT>(sizeof(SQLUINTEGER)));
    }
    return SQL_SUCCESS;
  });
}

SQLRETURN PrepareText(SQLHSTMT handle, const std::string& text) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    Prepare(*statement, text);
    return SQL_SUCCESS;
  });
}

SQLRETURN ExecuteText(SQLHSTMT handle, const std::string& text) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    Prepare(*statement, text);
    Execute(*statement);
    return SQL_SUCCESS;
  });
}

SQLRETURN ListTables(SQLHSTMT handle, const std::optional<std::string>& catalog,
                     const std::optional<std::string>& schema, const std::optional<std::string>& table,
                     const std::optional<std::string>& types) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    OpenRows(*statement, TablesResult(statement->connection->source, catalog, schema, table, types));
    return SQL_SUCCESS;
  });
}

SQLRETURN ListColumns(SQLHSTMT handle, const std::optional<std::string>& table,
                      const std::optional<std::string>& column) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    OpenRows(*statement, ColumnsResult(statement->connection->source, table, column, statement->connection->Odbc3()));
    return SQL_SUCCESS;
  });
}

}  // namespace quorlin::driver
