// What the driver makes of a layout's type words: the SQL type of each column.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstddef>
#include <string_view>

namespace quorlin::driver {

// BigInt is no layout's type: it describes what SQL computes, such as COUNT(*) or a SUM.
enum class ColumnKind { Text, LongText, TinyInt, SmallInt, Integer, BigInt, Double, Date, Time, Timestamp, Bit };

// Char (and any word the driver does not know) is text; LongChar long text; Byte, Short,
// Integer and Long integers; Float, Single, Double and Currency doubles; Date, DateTime and
// Time dates, timestamps and times; Bit bits. Compared without regard to case.
ColumnKind KindOfTypeWord(std::string_view typeWord);

// A text column without a width holds up to this many characters as far as clients are told.
inline constexpr std::size_t kDefaultTextSize = 255;
inline constexpr std::size_t kLongTextSize = 65535;

// How a column of a kind is described to clients (SQLDescribeCol, SQLColAttribute,
// SQLColumns, SQLGetTypeInfo).
struct SqlTypeInfo {
  SQLSMALLINT sqlType;
  const char* typeName;
  SQLULEN columnSize;
  SQLSMALLINT decimalDigits;
  SQLLEN displaySize;
  SQLLEN octetLength;
  bool isUnsigned;
  SQLSMALLINT numPrecRadix;  // 0 where it does not apply
  SQLSMALLINT verboseType;   // SQL_DATETIME for the date and time kinds
  SQLSMALLINT datetimeSub;
  SQLSMALLINT defaultCType;  // what SQL_C_DEFAULT means for the column
  const char* literalPrefix;
  const char* literalSuffix;
};

// `textSize` counts for the text kinds only.
SqlTypeInfo TypeInfoOf(ColumnKind kind, std::size_t textSize = kDefaultTextSize);

// Every kind, in the order of their SQL type codes as SQLGetTypeInfo lists them.
inline constexpr ColumnKind kAllKinds[] = {ColumnKind::Bit,     ColumnKind::TinyInt,  ColumnKind::BigInt,
                                           ColumnKind::LongText,
                                           ColumnKind::Integer, ColumnKind::SmallInt, ColumnKind::Double,
                                           ColumnKind::Text,    ColumnKind::Date,     ColumnKind::Time,
                                           ColumnKind::Timestamp};

}  // namespace quorlin::driver

namespace quorlin::driver {

// ODBC 2 applications know the date and time types by their older codes (9, 10, 11).
SQLSMALLINT SqlTypeFor(ColumnKind kind, bool odbc3);

}  // namespace quorlin::driver
