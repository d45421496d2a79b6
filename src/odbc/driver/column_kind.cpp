// The type words of Schema.INI mapped onto SQL types.
#include "odbc/driver/column_kind.h"

#include "platform/ascii_case.h"

namespace quorlin::driver {

ColumnKind KindOfTypeWord(std::string_view typeWord) {
  struct Word {
    std::string_view word;
    ColumnKind kind;
  };
  static constexpr Word kWords[] = {
      {"Char", ColumnKind::Text},        {"Text", ColumnKind::Text},
      {"LongChar", ColumnKind::LongText}, {"Memo", ColumnKind::LongText},
      {"Byte", ColumnKind::TinyInt},     {"Short", ColumnKind::SmallInt},
      {"Integer", ColumnKind::Integer},  {"Long", ColumnKind::Integer},
      {"Float", ColumnKind::Double},     {"Single", ColumnKind::Double},
      {"Double", ColumnKind::Double},    {"Currency", ColumnKind::Double},
      {"Date", ColumnKind::Date},        {"DateTime", ColumnKind::Timestamp},
      {"Time", ColumnKind::Time},        {"Bit", ColumnKind::Bit}};
  for (const Word& entry : kWords) {
    if (EqualNoCase(entry.word, typeWord)) return entry.kind;
  }
  return ColumnKind::Text;
}

SqlTypeInfo TypeInfoOf(ColumnKind kind, std::size_t textSize) {
  const auto size = static_cast<SQLULEN>(textSize);
  const auto length = static_cast<SQLLEN>(textSize);
  switch (kind) {
    case ColumnKind::Text:
      return {SQL_VARCHAR, "VARCHAR", size, 0, length, length, false, 0, SQL_VARCHAR, 0, SQL_C_CHAR, "'", "'"};
    case ColumnKind::LongText:
      return {SQL_LONGVARCHAR, "LONGVARCHAR", size, 0, length, length, false, 0, SQL_LONGVARCHAR, 0,
              SQL_C_CHAR, "'", "'"};
    case ColumnKind::TinyInt:
      return {SQL_TINYINT, "TINYINT", 3, 0, 3, 1, true, 10, SQL_TINYINT, 0, SQL_C_UTINYINT, nullptr, nullptr};
    case ColumnKind::SmallInt:
      return {SQL_SMALLINT, "SMALLINT", 5, 0, 6, 2, false, 10, SQL_SMALLINT, 0, SQL_C_SSHORT, nullptr, nullptr};
    case ColumnKind::Integer:
      return {SQL_INTEGER, "INTEGER", 10, 0, 11, 4, false, 10, SQL_INTEGER, 0, SQL_C_SLONG, nullptr, nullptr};
    case ColumnKind::BigInt:
      return {SQL_BIGINT, "BIGINT", 19, 0, 20, 8, false, 10, SQL_BIGINT, 0, SQL_C_SBIGINT, nullptr, nullptr};
    case ColumnKind::Double:
      return {SQL_DOUBLE, "DOUBLE", 15, 0, 24, 8, false, 10, SQL_DOUBLE, 0, SQL_C_DOUBLE, nullptr, nullptr};
    case ColumnKind::Date:
      return {SQL_TYPE_DATE, "DATE", 10, 0, 10, 6, false, 0, SQL_DATETIME, SQL_CODE_DATE, SQL_C_TYPE_DATE,
              "{d '", "'}"};
    case ColumnKind::Time:
      return {SQL_TYPE_TIME, "TIME", 8, 0, 8, 6, false, 0, SQL_DATETIME, SQL_CODE_TIME, SQL_C_TYPE_TIME,
              "{t '", "'}"};
    case ColumnKind::Timestamp:
      return {SQL_TYPE_TIMESTAMP, "TIMESTAMP", 23, 3, 23, 16, false, 0, SQL_DATETIME, SQL_CODE_TIMESTAMP,
              SQL_C_TYPE_TIMESTAMP, "{ts '", "'}"};
    case ColumnKind::Bit:
      return {SQL_BIT, "BIT", 1, 0, 1, 1, true, 0, SQL_BIT, 0, SQL_C_BIT, nullptr, nullptr};
  }
  return TypeInfoOf(ColumnKind::Text, textSize);
}

}  // namespace quorlin::driver

namespace quorlin::driver {

SQLSMALLINT SqlTypeFor(ColumnKind kind, bool odbc3) {
  if (!odbc3) {
    switch (kind) {
      case ColumnKind::Date:
        return SQL_DATE;
      case ColumnKind::Time:
        return SQL_TIME;
      case ColumnKind::Timestamp:
        return SQL_TIMESTAMP;
      default:
        break;
    }
  }
  return TypeInfoOf(kind).sqlType;
}

}  // namespace quorlin::driver
