// The conversions from result values to the application's C types.
#include "odbc/driver/value_output.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "odbc/driver/output_buffers.h"
#include "odbc/driver/sql_error.h"
#include "text/utf8_text.h"

namespace quorlin::driver {

namespace {

[[noreturn]] void Restricted(SQLSMALLINT targetType) {
  throw SqlError(state::kRestrictedType,
                 "The value cannot be converted to the C type " + std::to_string(targetType));
}

bool IsCharacterTarget(SQLSMALLINT type) { return type == SQL_C_CHAR || type == SQL_C_WCHAR || type == SQL_C_BINARY; }

// CharacterData where the value's bytes are not at hand as the target takes them.
[[gnu::noinline]] std::string_view WrittenCharacterData(const CellValue& value, SQLSMALLINT targetType,
                                                        PieceState& piece) {
  std::string_view bytes = HandedOutText(value);
  if (bytes.data() == nullptr) {
    piece.text.clear();
    AppendCharacterForm(value, piece.text);
    bytes = piece.text;
  }
  if (targetType != SQL_C_WCHAR) return bytes;
  piece.wide.clear();
  AppendUtf16(bytes, piece.wide);
  static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
  return {reinterpret_cast<const char*>(piece.wide.data()), piece.wide.size() * sizeof(char16_t)};
}

// The value as the bytes a character target receives: the character form, in UTF-16 for wide
// characters. A text, or a character form the rows hold written, is the row's own bytes for a
// narrow target; anything else is kept in `piece`.
std::string_view CharacterData(const CellValue& value, SQLSMALLINT targetType, PieceState& piece) {
  const std::string_view bytes = HandedOutText(value);
  if (targetType != SQL_C_WCHAR && bytes.data() != nullptr) return bytes;
  return WrittenCharacterData(value, targetType, piece);
}

[[noreturn, gnu::noinline, gnu::cold]] void NegativeBufferLength() {
  throw SqlError(state::kBadBufferLength, "The buffer length is negative");
}

SQLRETURN WriteCharacters(std::string_view data, std::size_t& offset, SQLSMALLINT targetType, SQLPOINTER target,
                          SQLLEN bufferLength, SQLLEN* indicator, Diagnostics& diagnostics) {
  if (target != nullptr && bufferLength < 0) NegativeBufferLength();
  const std::size_t terminator = targetType == SQL_C_CHAR ? 1 : targetType == SQL_C_WCHAR ? sizeof(SQLWCHAR) : 0;
  const std::size_t remaining = data.size() - offset;
  std::size_t room = 0;
  if (target != nullptr && static_cast<std::size_t>(bufferLength) >= terminator) {
    room = static_cast<std::size_t>(bufferLength) - terminator;
    if (targetType == SQL_C_WCHAR) room -= room % sizeof(SQLWCHAR);
  }
  const std::size_t count = remaining < room ? remaining : room;
  if (target != nullptr) {
    std::memcpy(target, data.data() + offset, count);
    if (terminator > 0 && static_cast<std::size_t>(bufferLength) >= terminator) {
      char* const end = static_cast<char*>(target) + count;
      end[0] = '\0';
      if (terminator == 2) end[1] = '\0';
    }
  }
  if (indicator != nullptr) *indicator = static_cast<SQLLEN>(remaining);
  offset += count;
  if (count < remaining) {
    diagnostics.Add(state::kTruncated, "String data, right truncated");
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

// The value as a number for the numeric targets; text is read with "." as decimal separator.
double NumberOf(const CellValue& value, SQLSMALLINT targetType) {
  switch (value.kind) {
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit:
      return static_cast<double>(value.integer);
    case CellValue::Kind::Double:
      return value.real;
    case CellValue::Kind::Text:
      return FieldNumber(value.text, LocaleSettings{}, "a number");
    default:
      Restricted(targetType);
  }
}

template <typename T>
SQLRETURN WriteInteger(const CellValue& value, SQLSMALLINT targetType, SQLPOINTER target, SQLLEN* indicator,
                       Diagnostics& diagnostics) {
  SQLRETURN result = SQL_SUCCESS;
  long double number = 0;
  if (value.kind == CellValue::Kind::Integer || value.kind == CellValue::Kind::Bit) {
    number = static_cast<long double>(value.integer);
  } else {
    number = NumberOf(value, targetType);
    if (std::trunc(number) != number) {
      number = std::trunc(number);
      diagnostics.Add("01S07", "Fractional truncation");
      result = SQL_SUCCESS_WITH_INFO;
    }
  }
  if (!(number >= static_cast<long double>(std::numeric_limits<T>::min()) &&
        number <= static_cast<long double>(std::numeric_limits<T>::max()))) {
    throw SqlError(state::kOutOfRange, "Numeric value out of range for the C type " + std::to_string(targetType));
  }
  const T converted = value.kind == CellValue::Kind::Integer || value.kind == CellValue::Kind::Bit
                          ? static_cast<T>(value.integer)
                          : static_cast<T>(number);
  Store(target, converted);
  Store(indicator, static_cast<SQLLEN>(sizeof(T)));
  return result;
}

DateTime WhenOf(const CellValue& value, CellValue::Kind wanted, SQLSMALLINT targetType) {
  if (value.kind == CellValue::Kind::Text) {
    DateTime when;
    if (ParseIsoDateTime(value.text, wanted, when)) return when;
    throw SqlError(state::kBadValue, "\"" + std::string(value.text) + "\" is not a date or time");
  }
  const bool fits = value.kind == wanted || value.kind == CellValue::Kind::Timestamp ||
                    (wanted == CellValue::Kind::Timestamp && value.kind == CellValue::Kind::Date) ||
                    (wanted == CellValue::Kind::Timestamp && value.kind == CellValue::Kind::Time);
  if (!fits) Restricted(targetType);
  return value.when;
}

SQLRETURN WriteFixed(const CellValue& value, SQLSMALLINT targetType, SQLPOINTER target, SQLLEN* indicator,
                     Diagnostics& diagnostics) {
  switch (targetType) {
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
      return WriteInteger<SQLSCHAR>(value, targetType, target, indicator, diagnostics);
    case SQL_C_UTINYINT:
      return WriteInteger<SQLCHAR>(value, targetType, target, indicator, diagnostics);
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
      return WriteInteger<SQLSMALLINT>(value, targetType, target, indicator, diagnostics);
    case SQL_C_USHORT:
      return WriteInteger<SQLUSMALLINT>(value, targetType, target, indicator, diagnostics);
    case SQL_C_SLONG:
    case SQL_C_LONG:
      return WriteInteger<SQLINTEGER>(value, targetType, target, indicator, diagnostics);
    case SQL_C_ULONG:
      return WriteInteger<SQLUINTEGER>(value, targetType, target, indicator, diagnostics);
    case SQL_C_SBIGINT:
      return WriteInteger<SQLBIGINT>(value, targetType, target, indicator, diagnostics);
    case SQL_C_UBIGINT:
      return WriteInteger<SQLUBIGINT>(value, targetType, target, indicator, diagnostics);
    case SQL_C_DOUBLE:
      Store(target, static_cast<SQLDOUBLE>(NumberOf(value, targetType)));
      Store(indicator, static_cast<SQLLEN>(sizeof(SQLDOUBLE)));
      return SQL_SUCCESS;
    case SQL_C_FLOAT: {
      const double number = NumberOf(value, targetType);
      if (std::fabs(number) > std::numeric_limits<SQLREAL>::max()) {
        throw SqlError(state::kOutOfRange, "Numeric value out of range for SQL_C_FLOAT");
      }
      Store(target, static_cast<SQLREAL>(number));
      Store(indicator, static_cast<SQLLEN>(sizeof(SQLREAL)));
      return SQL_SUCCESS;
    }
    case SQL_C_BIT: {
      const double number = NumberOf(value, targetType);
      if (number < 0 || number >= 2) throw SqlError(state::kOutOfRange, "Numeric value out of range for SQL_C_BIT");
      Store(target, static_cast<SQLCHAR>(number >= 1 ? 1 : 0));
      Store(indicator, static_cast<SQLLEN>(sizeof(SQLCHAR)));
      return SQL_SUCCESS;
    }
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE: {
      const DateTime when = WhenOf(value, CellValue::Kind::Date, targetType);
      SQL_DATE_STRUCT date{static_cast<SQLSMALLINT>(when.year), static_cast<SQLUSMALLINT>(when.month),
                           static_cast<SQLUSMALLINT>(when.day)};
      Store(target, date);
      Store(indicator, static_cast<SQLLEN>(sizeof date));
      return SQL_SUCCESS;
    }
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME: {
      const DateTime when = WhenOf(value, CellValue::Kind::Time, targetType);
      SQL_TIME_STRUCT time{static_cast<SQLUSMALLINT>(when.hour), static_cast<SQLUSMALLINT>(when.minute),
                           static_cast<SQLUSMALLINT>(when.second)};
      Store(target, time);
      Store(indicator, static_cast<SQLLEN>(sizeof time));
      return SQL_SUCCESS;
    }
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: {
      const DateTime when = WhenOf(value, CellValue::Kind::Timestamp, targetType);
      SQL_TIMESTAMP_STRUCT stamp{static_cast<SQLSMALLINT>(when.year),    static_cast<SQLUSMALLINT>(when.month),
                                 static_cast<SQLUSMALLINT>(when.day),    static_cast<SQLUSMALLINT>(when.hour),
                                 static_cast<SQLUSMALLINT>(when.minute), static_cast<SQLUSMALLINT>(when.second),
                                 static_cast<SQLUINTEGER>(when.millisecond) * 1000000u};
      Store(target, stamp);
      Store(indicator, static_cast<SQLLEN>(sizeof stamp));
      return SQL_SUCCESS;
    }
    default:
      Restricted(targetType);
  }
}

// A NULL or a value of a fixed-size type, which is handed out in one piece; out of line, so that
// handing out texts, the most common, stays short.
[[gnu::noinline]] SQLRETURN WriteWhole(const CellValue& value, SQLSMALLINT targetType, SQLPOINTER target,
                                       SQLLEN* indicator, Diagnostics& diagnostics) {
  if (value.kind != CellValue::Kind::Null) return WriteFixed(value, targetType, target, indicator, diagnostics);
  if (indicator == nullptr) {
    throw SqlError("22002", "Indicator variable required but not supplied: the value is NULL");
  }
  *indicator = SQL_NULL_DATA;
  return SQL_SUCCESS;
}

[[gnu::noinline]] SQLRETURN WriteInPieces(const CellValue& value, SQLSMALLINT targetType, SQLPOINTER target,
                                          SQLLEN bufferLength, SQLLEN* indicator, PieceState& piece,
                                          Diagnostics& diagnostics) {
  if (piece.delivered) return SQL_NO_DATA;
  if (!piece.started) {
    if (value.kind == CellValue::Kind::Null || !IsCharacterTarget(targetType)) {
      const SQLRETURN result = WriteWhole(value, targetType, target, indicator, diagnostics);
      piece.delivered = true;
      return result;
    }
    piece.data = CharacterData(value, targetType, piece);
    piece.targetType = targetType;
    piece.offset = 0;
    piece.started = true;
  }
  // The next piece of a long value keeps the type it started with.
  const SQLRETURN result =
      WriteCharacters(piece.data, piece.offset, piece.targetType, target, bufferLength, indicator, diagnostics);
  if (piece.offset >= piece.data.size()) piece.delivered = true;
  return result;
}

}  // namespace

bool IsKnownTargetType(SQLSMALLINT targetType) {
  switch (targetType) {
    case SQL_C_DEFAULT:
    case SQL_C_CHAR:
    case SQL_C_WCHAR:
    case SQL_C_BINARY:
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
    case SQL_C_UTINYINT:
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
    case SQL_C_USHORT:
    case SQL_C_SLONG:
    case SQL_C_LONG:
    case SQL_C_ULONG:
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
    case SQL_C_DOUBLE:
    case SQL_C_FLOAT:
    case SQL_C_BIT:
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE:
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME:
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP:
      return true;
    default:
      return false;
  }
}

std::size_t FixedSizeOf(SQLSMALLINT targetType) {
  switch (targetType) {
    case SQL_C_STINYINT:
    case SQL_C_TINYINT:
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
      return 1;
    case SQL_C_SSHORT:
    case SQL_C_SHORT:
    case SQL_C_USHORT:
      return sizeof(SQLSMALLINT);
    case SQL_C_SLONG:
    case SQL_C_LONG:
    case SQL_C_ULONG:
      return sizeof(SQLINTEGER);
    case SQL_C_SBIGINT:
    case SQL_C_UBIGINT:
      return sizeof(SQLBIGINT);
    case SQL_C_DOUBLE:
      return sizeof(SQLDOUBLE);
    case SQL_C_FLOAT:
      return sizeof(SQLREAL);
    case SQL_C_TYPE_DATE:
    case SQL_C_DATE:
      return sizeof(SQL_DATE_STRUCT);
    case SQL_C_TYPE_TIME:
    case SQL_C_TIME:
      return sizeof(SQL_TIME_STRUCT);
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP:
      return sizeof(SQL_TIMESTAMP_STRUCT);
    default:
      return 0;
  }
}

SQLRETURN WriteValue(const CellValue& value, ColumnKind kind, SQLSMALLINT targetType, SQLPOINTER target,
                     SQLLEN bufferLength, SQLLEN* indicator, PieceState& piece, Diagnostics& diagnostics) {
  if (targetType == SQL_C_DEFAULT) targetType = TypeInfoOf(kind).defaultCType;
  if (targetType == SQL_C_CHAR && !piece.started && !piece.delivered &&
      WriteFittingText(HandedOutText(value), target, bufferLength, indicator)) {
    piece.delivered = true;
    return SQL_SUCCESS;
  }
  return WriteInPieces(value, targetType, target, bufferLength, indicator, piece, diagnostics);
}

}  // namespace quorlin::driver
