#include "odbc/driver/entry_points.h"

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

}  // namespace quorlin::driver
