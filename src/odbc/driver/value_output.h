// Handing a result value to the application in the C type it asks for.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <string>
#include <string_view>

#include "odbc/driver/cell_value.h"
#include "odbc/driver/column_kind.h"
#include "odbc/driver/diagnostics.h"

namespace quorlin::driver {

// Where the character data of one column stands between SQLGetData calls, so that a long
// value comes out in pieces.
struct PieceState {
  SQLUSMALLINT column = 0;  // 0 while no column has been read in this row
  SQLSMALLINT targetType = 0;
  std::string_view data;    // the whole value as the target receives it
  std::size_t offset = 0;   // bytes already handed out
  bool started = false;     // `data` holds the value
  bool delivered = false;   // the whole value was handed out
  // Where `data` lives when it is not the row's own bytes: a number's or a date's character
  // form, or UTF-16.
  std::string text;
  std::u16string wide;

  void Start(SQLUSMALLINT number) { column = number, data = {}, offset = 0, started = delivered = false; }
};

// Writes `value` of a column of `kind` into `target` as `targetType`, or the next piece of it
// when `piece` already holds it (SQLGetData calls again for a long value). Gives SQL_SUCCESS,
// SQL_SUCCESS_WITH_INFO (a cut text, 01004 added to `diagnostics`) or SQL_NO_DATA (every
// piece was handed out); raises SqlError 07006 for a conversion the driver does not make, 22018
// or 22003 for a value that does not convert, 22002 for NULL without an indicator.
SQLRETURN WriteValue(const CellValue& value, ColumnKind kind, SQLSMALLINT targetType, SQLPOINTER target,
                     SQLLEN bufferLength, SQLLEN* indicator, PieceState& piece, Diagnostics& diagnostics);

// The call a fetch loop makes for nearly every value: a value's text as it stands (see
// HandedOutText) into a narrow buffer it fits. Writes it and gives true; gives false, writing
// nothing, for a text without data or a buffer it does not fit.
inline bool WriteFittingText(std::string_view bytes, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
  if (bytes.data() == nullptr || target == nullptr || bufferLength <= 0 ||
      bytes.size() >= static_cast<std::size_t>(bufferLength)) {
    return false;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  static_cast<char*>(target)[bytes.size()] = '\0';
  if (indicator != nullptr) *indicator = static_cast<SQLLEN>(bytes.size());
  return true;
}

// The size of a fixed-size C type, 0 for the character and binary types.
std::size_t FixedSizeOf(SQLSMALLINT targetType);

// Whether `targetType` is a C type the driver writes.
bool IsKnownTargetType(SQLSMALLINT targetType);

}  // namespace quorlin::driver
