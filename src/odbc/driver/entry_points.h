// What every ODBC entry point does around its work, shared by the narrow and the wide ones.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <functional>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "odbc/driver/handles.h"
#include "odbc/driver/sql_error.h"

namespace quorlin::driver {

// Runs one call: clears the handle's diagnostics, and turns whatever the body raises into a
// record and SQL_ERROR, so that no exception ever reaches the client process.
template <typename Body>
SQLRETURN Run(Diagnostics& diagnostics, Body&& body) {
  diagnostics.Clear();
  try {
    return diagnostics.Finish(body());
  } catch (const SqlError& error) {
    diagnostics.Add(error.SqlState(), error.what());
  } catch (const std::bad_alloc&) {
    diagnostics.Add(state::kMemory, "Memory allocation error");
  } catch (const std::exception& error) {
    diagnostics.Add(state::kGeneralError, error.what());
  } catch (...) {
    diagnostics.Add(state::kGeneralError, "Unexpected failure inside the text driver");
  }
  return diagnostics.Finish(SQL_ERROR);
}

// A text argument of `length` bytes, or up to its NUL for SQL_NTS.
std::string Text(const SQLCHAR* text, SQLINTEGER length);
// The same, or nothing for a null pointer (a catalog call's "any").
std::optional<std::string> OptionalText(const SQLCHAR* text, SQLSMALLINT length);

void ExpectConnected(const Connection& connection);

// Records that a result was cut to fit the caller's buffer.
SQLRETURN Truncated(Diagnostics& diagnostics);

// The diagnostics of a handle of `handleType`, and the data source it belongs to; nothing for
// a handle that is not one.
Diagnostics* DiagnosticsOf(SQLSMALLINT handleType, SQLHANDLE handle, std::string* dataSource);

// The calls that take or give text, written once for the narrow and the wide entry points,
// which turn the caller's text into UTF-8 before and put text results into the caller's buffer
// with `copy` (true when the text had to be cut).
using CopyText = std::function<bool(std::string_view text)>;

SQLRETURN ConnectTo(SQLHDBC handle, const std::string& dataSource);
SQLRETURN DriverConnectWith(SQLHDBC handle, const std::string& connectionString, const CopyText& copy);
SQLRETURN GetInfoInto(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT* stringLength,
                      const CopyText& copy);
SQLRETURN PrepareText(SQLHSTMT handle, const std::string& text);
SQLRETURN ExecuteText(SQLHSTMT handle, const std::string& text);
SQLRETURN ListTables(SQLHSTMT handle, const std::optional<std::string>& catalog,
                     const std::optional<std::string>& schema, const std::optional<std::string>& table,
                     const std::optional<std::string>& types);
SQLRETURN ListColumns(SQLHSTMT handle, const std::optional<std::string>& table,
                      const std::optional<std::string>& column);

}  // namespace quorlin::driver
