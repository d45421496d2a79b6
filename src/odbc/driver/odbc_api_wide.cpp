// The wide (W) entry points: clients that speak UTF-16 (pyodbc, Qt) get the same work as the
// narrow ones, with text converted at the border and every length counted in UTF-16 units
// (or bytes, where ODBC counts bytes), so that no NUL or stray byte ends up in their strings.
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <array>
#include <string>
#include <string_view>

#include "odbc/driver/entry_points.h"
#include "odbc/driver/handles.h"
#include "odbc/driver/output_buffers.h"
#include "odbc/driver/statement_ops.h"
#include "odbc/driver/wide_text.h"

using namespace quorlin::driver;

namespace {

// The whole text a narrow call hands out: asked once for its length, then with room for it,
// so that the narrow call never cuts it.
template <typename Call>
std::pair<SQLRETURN, std::string> WholeText(Call call) {
  SQLSMALLINT length = 0;
  const SQLRETURN asked = call(nullptr, SQLSMALLINT{0}, &length);
  if (asked == SQL_ERROR || asked == SQL_NO_DATA || asked == SQL_INVALID_HANDLE) return {asked, {}};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const SQLRETURN result = call(reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLSMALLINT>(text.size()), &length);
  text.resize(static_cast<std::size_t>(length));
  return {result, text};
}

bool IsTextColumnAttribute(SQLUSMALLINT field) {
  switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME:
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
      return true;
    default:
      return false;
  }
}

bool IsTextDiagField(SQLSMALLINT field) {
  switch (field) {
    case SQL_DIAG_SQLSTATE:
    case SQL_DIAG_MESSAGE_TEXT:
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN:
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
    case SQL_DIAG_DYNAMIC_FUNCTION:
      return true;
    default:
      return false;
  }
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC handle, SQLHWND, SQLWCHAR* in, SQLSMALLINT inLength, SQLWCHAR* out,
                                    SQLSMALLINT outMax, SQLSMALLINT* outLength, SQLUSMALLINT) {
  return DriverConnectWith(handle, NarrowText(in, inLength), [&](std::string_view text) {
    return CopyWideString(text, out, outMax, outLength, WideUnit::Characters);
  });
}

SQLRETURN SQL_API SQLConnectW(SQLHDBC handle, SQLWCHAR* dataSource, SQLSMALLINT dataSourceLength, SQLWCHAR*,
                              SQLSMALLINT, SQLWCHAR*, SQLSMALLINT) {
  return ConnectTo(handle, NarrowText(dataSource, dataSourceLength));
}

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC handle, SQLUSMALLINT infoType, SQLPOINTER value, SQLSMALLINT bufferLength,
                              SQLSMALLINT* stringLength) {
  return GetInfoInto(handle, infoType, value, stringLength, [&](std::string_view text) {
    return CopyWideString(text, value, bufferLength, stringLength, WideUnit::Bytes);
  });
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                 SQLWCHAR* sqlState, SQLINTEGER* nativeError, SQLWCHAR* messageText,
                                 SQLSMALLINT bufferLength, SQLSMALLINT* textLength) {
  std::string dataSource;
  const Diagnostics* diagnostics = DiagnosticsOf(handleType, handle, &dataSource);
  if (diagnostics == nullptr) return SQL_INVALID_HANDLE;
  if (bufferLength < 0) return SQL_ERROR;
  std::array<SQLCHAR, 6> state{};
  const auto [result, message] = WholeText([&](SQLCHAR* text, SQLSMALLINT size, SQLSMALLINT* length) {
    return GetDiagRec(*diagnostics, recordNumber, state.data(), nativeError, text, size, length);
  });
  if (!SQL_SUCCEEDED(result)) return result;
  if (sqlState != nullptr) {
    CopyWideString(reinterpret_cast<const char*>(state.data()), sqlState, 6, nullptr, WideUnit::Characters);
  }
  return CopyWideString(message, messageText, bufferLength, textLength, WideUnit::Characters) ? SQL_SUCCESS_WITH_INFO
                                                                                                : SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT recordNumber,
                                   SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT bufferLength,
                                   SQLSMALLINT* stringLength) {
  std::string dataSource;
  const Diagnostics* diagnostics = DiagnosticsOf(handleType, handle, &dataSource);
  if (diagnostics == nullptr) return SQL_INVALID_HANDLE;
  if (!IsTextDiagField(field)) {
    return GetDiagField(*diagnostics, recordNumber, field, info, bufferLength, stringLength, dataSource, dataSource);
  }
  const auto [result, text] = WholeText([&](SQLCHAR* buffer, SQLSMALLINT size, SQLSMALLINT* length) {
    return GetDiagField(*diagnostics, recordNumber, field, buffer, size, length, dataSource, dataSource);
  });
  if (!SQL_SUCCEEDED(result)) return result;
  return CopyWideString(text, info, bufferLength, stringLength, WideUnit::Bytes) ? SQL_SUCCESS_WITH_INFO
                                                                                  : SQL_SUCCESS;
}

SQLRETURN SQL_API SQLPrepareW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
  return PrepareText(handle, NarrowText(text, length));
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
  return ExecuteText(handle, NarrowText(text, length));
}

SQLRETURN SQL_API SQLTablesW(SQLHSTMT handle, SQLWCHAR* catalog, SQLSMALLINT catalogLength, SQLWCHAR* schema,
                             SQLSMALLINT schemaLength, SQLWCHAR* table, SQLSMALLINT tableLength, SQLWCHAR* types,
                             SQLSMALLINT typesLength) {
  return ListTables(handle, OptionalNarrowText(catalog, catalogLength), OptionalNarrowText(schema, schemaLength),
                    OptionalNarrowText(table, tableLength), OptionalNarrowText(types, typesLength));
}

SQLRETURN SQL_API SQLColumnsW(SQLHSTMT handle, SQLWCHAR*, SQLSMALLINT, SQLWCHAR*, SQLSMALLINT, SQLWCHAR* table,
                              SQLSMALLINT tableLength, SQLWCHAR* column, SQLSMALLINT columnLength) {
  return ListColumns(handle, OptionalNarrowText(table, tableLength), OptionalNarrowText(column, columnLength));
}

SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT handle, SQLUSMALLINT column, SQLWCHAR* name, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize,
                                  SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    const auto [result, text] = WholeText([&](SQLCHAR* buffer, SQLSMALLINT size, SQLSMALLINT* length) {
      return DescribeColumn(*statement, column, buffer, size, length, dataType, columnSize, decimalDigits, nullable);
    });
    if (!SQL_SUCCEEDED(result)) return result;
    return CopyWideString(text, name, bufferLength, nameLength, WideUnit::Characters)
               ? Truncated(statement->diagnostics)
               : result;
  });
}

SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                   SQLPOINTER characterAttribute, SQLSMALLINT bufferLength,
                                   SQLSMALLINT* stringLength, SQLLEN* numericAttribute) {
  Statement* statement = AsStatement(handle);
  if (statement == nullptr) return SQL_INVALID_HANDLE;
  return Run(statement->diagnostics, [&] {
    if (!IsTextColumnAttribute(field)) {
      return ColumnAttribute(*statement, column, field, characterAttribute, bufferLength, stringLength,
                             numericAttribute);
    }
    const auto [result, text] = WholeText([&](SQLCHAR* buffer, SQLSMALLINT size, SQLSMALLINT* length) {
      return ColumnAttribute(*statement, column, field, buffer, size, length, nullptr);
    });
    if (!SQL_SUCCEEDED(result)) return result;
    return CopyWideString(text, characterAttribute, bufferLength, stringLength, WideUnit::Bytes)
               ? Truncated(statement->diagnostics)
               : result;
  });
}

// The driver manager takes a driver with wide entry points for one that has them all, so the
// calls without text of their own have wide names too.

SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length) {
  return SQLSetConnectAttr(handle, attribute, value, length);
}

SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                     SQLINTEGER* stringLength) {
  if (attribute != SQL_ATTR_CURRENT_CATALOG) {
    return SQLGetConnectAttr(handle, attribute, value, bufferLength, stringLength);
  }
  Connection* connection = AsConnection(handle);
  if (connection == nullptr) return SQL_INVALID_HANDLE;
  return Run(connection->diagnostics, [&] {
    SQLSMALLINT length = 0;
    const bool cut = CopyWideString("", value, bufferLength, &length, WideUnit::Bytes);
    Store(stringLength, static_cast<SQLINTEGER>(length));
    return cut ? Truncated(connection->diagnostics) : SQL_SUCCESS;
  });
}

SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length) {
  return SQLSetStmtAttr(handle, attribute, value, length);
}

SQLRETURN SQL_API SQLGetStmtAttrW(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER bufferLength,
                                  SQLINTEGER* stringLength) {
  return SQLGetStmtAttr(handle, attribute, value, bufferLength, stringLength);
}

SQLRETURN SQL_API SQLGetTypeInfoW(SQLHSTMT handle, SQLSMALLINT dataType) { return SQLGetTypeInfo(handle, dataType); }

}  // extern "C"
