// The diagnostic records of a handle, as SQLGetDiagRec and SQLGetDiagField hand them out.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace quorlin::driver {

// Every message starts so, as ODBC components name themselves.
inline constexpr const char* kMessagePrefix = "[Quorlin][Text Driver]";

struct DiagRecord {
  std::string sqlState;
  std::string message;  // with the prefix
  SQLLEN rowNumber = SQL_NO_ROW_NUMBER;
  SQLINTEGER columnNumber = SQL_NO_COLUMN_NUMBER;
};

class Diagnostics {
 public:
  // Every driver call starts with an empty list; inline, as a fetch loop makes a call per value,
  // and mostly with nothing to drop, so dropping is out of line.
  void Clear() {
    if (!records_.empty()) DropRecords();
    returnCode_ = SQL_SUCCESS;
  }
  void Add(const std::string& sqlState, const std::string& message, SQLLEN rowNumber = SQL_NO_ROW_NUMBER,
           SQLINTEGER columnNumber = SQL_NO_COLUMN_NUMBER);
  // Keeps the result of the call for SQL_DIAG_RETURNCODE and gives it back.
  SQLRETURN Finish(SQLRETURN result) {
    returnCode_ = result;
    return result;
  }

  const std::vector<DiagRecord>& Records() const { return records_; }
  SQLRETURN ReturnCode() const { return returnCode_; }
  SQLLEN RowCount() const { return rowCount_; }
  void SetRowCount(SQLLEN count) { rowCount_ = count; }

 private:
  [[gnu::noinline]] void DropRecords();

  std::vector<DiagRecord> records_;
  SQLRETURN returnCode_ = SQL_SUCCESS;
  SQLLEN rowCount_ = 0;
};

// SQLGetDiagRec on a list of records.
SQLRETURN GetDiagRec(const Diagnostics& diagnostics, SQLSMALLINT recordNumber, SQLCHAR* sqlState,
                     SQLINTEGER* nativeError, SQLCHAR* messageText, SQLSMALLINT bufferLength,
                     SQLSMALLINT* textLength);

// SQLGetDiagField on a list of records. `connectionName` and `serverName` answer the fields
// of the same names.
SQLRETURN GetDiagField(const Diagnostics& diagnostics, SQLSMALLINT recordNumber, SQLSMALLINT field,
                       SQLPOINTER info, SQLSMALLINT bufferLength, SQLSMALLINT* stringLength,
                       const std::string& connectionName, const std::string& serverName);

}  // namespace quorlin::driver
