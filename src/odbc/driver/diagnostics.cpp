// Diagnostic records kept per handle and read back by the diagnostic calls.
#include "odbc/driver/diagnostics.h"

#include "odbc/driver/output_buffers.h"

namespace quorlin::driver {

namespace {

// The classes ODBC defines itself; every other class comes from ISO 9075.
bool IsOdbcClass(const std::string& sqlState) { return sqlState.starts_with("HY") || sqlState.starts_with("IM"); }

}  // namespace

void Diagnostics::Add(const std::string& sqlState, const std::string& message, SQLLEN rowNumber,
                      SQLINTEGER columnNumber) {
  records_.push_back({sqlState, kMessagePrefix + message, rowNumber, columnNumber});
}

void Diagnostics::DropRecords() { records_.clear(); }

SQLRETURN GetDiagRec(const Diagnostics& diagnostics, SQLSMALLINT recordNumber, SQLCHAR* sqlState,
                     SQLINTEGER* nativeError, SQLCHAR* messageText, SQLSMALLINT bufferLength,
                     SQLSMALLINT* textLength) {
  if (recordNumber <= 0 || bufferLength < 0) return SQL_ERROR;
  if (static_cast<std::size_t>(recordNumber) > diagnostics.Records().size()) return SQL_NO_DATA;
  const DiagRecord& record = diagnostics.Records()[recordNumber - 1];
  if (sqlState != nullptr) CopyString<SQLSMALLINT>(record.sqlState, sqlState, 6, nullptr);
  Store(nativeError, SQLINTEGER{0});
  return CopyString(record.message, messageText, bufferLength, textLength) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN GetDiagField(const Diagnostics& diagnostics, SQLSMALLINT recordNumber, SQLSMALLINT field,
                       SQLPOINTER info, SQLSMALLINT bufferLength, SQLSMALLINT* stringLength,
                       const std::string& connectionName, const std::string& serverName) {
  const auto text = [&](std::string_view value) {
    return CopyString(value, info, bufferLength, stringLength) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  };
  switch (field) {
    case SQL_DIAG_NUMBER:
      Store(info, static_cast<SQLINTEGER>(diagnostics.Records().size()));
      return SQL_SUCCESS;
    case SQL_DIAG_RETURNCODE:
      Store(info, diagnostics.ReturnCode());
      return SQL_SUCCESS;
    case SQL_DIAG_CURSOR_ROW_COUNT:
    case SQL_DIAG_ROW_COUNT:
      Store(info, diagnostics.RowCount());
      return SQL_SUCCESS;
    case SQL_DIAG_DYNAMIC_FUNCTION:
      return text("");
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      Store(info, SQLINTEGER{SQL_DIAG_UNKNOWN_STATEMENT});
      return SQL_SUCCESS;
    default:
      break;
  }
  if (recordNumber <= 0) return SQL_ERROR;
  if (static_cast<std::size_t>(recordNumber) > diagnostics.Records().size()) return SQL_NO_DATA;
  const DiagRecord& record = diagnostics.Records()[recordNumber - 1];
  switch (field) {
    case SQL_DIAG_SQLSTATE:
      return text(record.sqlState);
    case SQL_DIAG_MESSAGE_TEXT:
      return text(record.message);
    case SQL_DIAG_NATIVE:
      Store(info, SQLINTEGER{0});
      return SQL_SUCCESS;
    case SQL_DIAG_CLASS_ORIGIN:
      return text(IsOdbcClass(record.sqlState) ? "ODBC 3.0" : "ISO 9075");
    case SQL_DIAG_SUBCLASS_ORIGIN:
      return text(IsOdbcClass(record.sqlState) || (record.sqlState.size() == 5 && record.sqlState[2] == 'S')
                      ? "ODBC 3.0"
                      : "ISO 9075");
    case SQL_DIAG_CONNECTION_NAME:
      return text(connectionName);
    case SQL_DIAG_SERVER_NAME:
      return text(serverName);
    case SQL_DIAG_ROW_NUMBER:
      Store(info, record.rowNumber);
      return SQL_SUCCESS;
    case SQL_DIAG_COLUMN_NUMBER:
      Store(info, record.columnNumber);
      return SQL_SUCCESS;
    default:
      return SQL_ERROR;
  }
}

}  // namespace quorlin::driver
