// Catalog rows: the folder's tables, their columns, and the types the driver knows.
#include "odbc/driver/catalog_results.h"

#include <sqlext.h>

#include <algorithm>

#include "odbc/driver/sql_error.h"
#include "odbc/driver/table_files.h"
#include "odbc/driver/table_layout.h"
#include "platform/ascii_case.h"

namespace quorlin::driver {

namespace {

using Cell = RowsResult::Cell;

constexpr std::size_t kNameSize = 128;

ResultColumn TextColumn(const char* name) { return {name, ColumnKind::Text, kNameSize, "", true}; }
ResultColumn ShortColumn(const char* name) { return {name, ColumnKind::SmallInt, 0, "", true}; }
ResultColumn IntColumn(const char* name) { return {name, ColumnKind::Integer, 0, "", true}; }

Cell Number(long long value) { return std::to_string(value); }

// One pattern element: the character it stands for, and whether it is a wildcard.
struct PatternChar {
  char c;
  bool wildcard;
};

std::vector<PatternChar> Elements(std::string_view pattern) {
  std::vector<PatternChar> elements;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\\' && i + 1 < pattern.size()) {
      elements.push_back({pattern[++i], false});
    } else {
      elements.push_back({pattern[i], pattern[i] == '%' || pattern[i] == '_'});
    }
  }
  return elements;
}

bool HasWildcard(std::string_view pattern) {
  const std::vector<PatternChar> elements = Elements(pattern);
  return std::any_of(elements.begin(), elements.end(), [](const PatternChar& e) { return e.wildcard; });
}

std::string Unescaped(std::string_view pattern) {
  std::string text;
  for (const PatternChar& element : Elements(pattern)) text += element.c;
  return text;
}

std::vector<ResultColumn> TablesColumns() {
  return {TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"), TextColumn("TABLE_TYPE"),
          TextColumn("REMARKS")};
}

bool ListsTableType(const std::string& types) {
  if (types.empty() || types == "%") return true;
  std::string upper;
  for (const char c : types) {
    if (c != '\'' && c != ' ') upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  std::size_t at = 0;
  while (at <= upper.size()) {
    const std::size_t end = std::min(upper.find(',', at), upper.size());
    if (upper.compare(at, end - at, "TABLE") == 0) return true;
    at = end + 1;
  }
  return false;
}

std::vector<std::string> MatchingTables(const FolderSource& source, const std::optional<std::string>& pattern) {
  std::vector<std::string> tables = ListTableFiles(source.folder, source.extensions);
  if (!pattern) return tables;
  std::erase_if(tables, [&](const std::string& name) { return !MatchesPattern(*pattern, name); });
  return tables;
}

void AddColumnRows(RowsResult& result, const TableLayout& layout, const std::optional<std::string>& column,
                   bool odbc3) {
  for (std::size_t k = 0; k < layout.columns.size(); ++k) {
    const ColumnDef& def = layout.columns[k];
    if (column && !MatchesPattern(*column, def.name)) continue;
    const SqlTypeInfo type = TypeInfoOf(def.kind, def.textSize);
    const bool datetime = type.verboseType == SQL_DATETIME;
    result.AddRow({std::nullopt, std::nullopt, layout.tableName, def.name, Number(SqlTypeFor(def.kind, odbc3)),
                   std::string(type.typeName), Number(static_cast<long long>(type.columnSize)),
                   Number(type.octetLength), datetime || type.numPrecRadix ? Number(type.decimalDigits) : Cell(),
                   type.numPrecRadix ? Number(type.numPrecRadix) : Cell(), Number(SQL_NULLABLE), std::nullopt,
                   std::nullopt, Number(type.verboseType), datetime ? Number(type.datetimeSub) : Cell(),
                   def.kind == ColumnKind::Text || def.kind == ColumnKind::LongText ? Number(type.octetLength) : Cell(),
                   Number(static_cast<long long>(k) + 1), std::string("YES")});
  }
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view name) {
  const std::vector<PatternChar> elements = Elements(pattern);
  // Greedy matching that backs up to the last "%" only: quadratic at worst, never exponential.
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < elements.size() && elements[p].wildcard && elements[p].c == '%') {
      starP = p++;
      starN = n;
    } else if (p < elements.size() &&
               ((elements[p].wildcard && elements[p].c == '_') || AsciiLower(elements[p].c) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < elements.size() && elements[p].wildcard && elements[p].c == '%') ++p;
  return p == elements.size();
}

std::unique_ptr<RowsResult> TablesResult(const FolderSource& source, const std::optional<std::string>& catalog,
                                         const std::optional<std::string>& schema,
                                         const std::optional<std::string>& table,
                                         const std::optional<std::string>& tableTypes) {
  auto result = std::make_unique<RowsResult>(TablesColumns());
  const auto isEmpty = [](const std::optional<std::string>& text) { return text && text->empty(); };
  // The three enumerations of the ODBC rules: catalogs, schemas and table types alone.
  if (catalog == "%" && isEmpty(schema) && isEmpty(table)) return result;
  if (schema == "%" && isEmpty(catalog) && isEmpty(table)) return result;
  if (tableTypes == "%" && isEmpty(catalog) && isEmpty(schema) && isEmpty(table)) {
    result->AddRow({std::nullopt, std::nullopt, std::nullopt, std::string("TABLE"), std::nullopt});
    return result;
  }
  if (tableTypes && !ListsTableType(*tableTypes)) return result;
  for (const std::string& name : MatchingTables(source, table)) {
    result->AddRow({std::nullopt, std::nullopt, name, std::string("TABLE"), std::nullopt});
  }
  return result;
}

std::unique_ptr<RowsResult> ColumnsResult(const FolderSource& source, const std::optional<std::string>& table,
                                          const std::optional<std::string>& column, bool odbc3) {
  auto result = std::make_unique<RowsResult>(std::vector<ResultColumn>{
      TextColumn("TABLE_CAT"), TextColumn("TABLE_SCHEM"), TextColumn("TABLE_NAME"), TextColumn("COLUMN_NAME"),
      ShortColumn("DATA_TYPE"), TextColumn("TYPE_NAME"), IntColumn("COLUMN_SIZE"), IntColumn("BUFFER_LENGTH"),
      ShortColumn("DECIMAL_DIGITS"), ShortColumn("NUM_PREC_RADIX"), ShortColumn("NULLABLE"), TextColumn("REMARKS"),
      TextColumn("COLUMN_DEF"), ShortColumn("SQL_DATA_TYPE"), ShortColumn("SQL_DATETIME_SUB"),
      IntColumn("CHAR_OCTET_LENGTH"), IntColumn("ORDINAL_POSITION"), TextColumn("IS_NULLABLE")});
  if (table && !HasWildcard(*table)) {
    TableLayout layout;
    try {
      layout = ReadTableLayout(source.folder, Unescaped(*table), source.locale);
    } catch (const SqlError& error) {
      if (error.SqlState() == state::kTableNotFound) return result;
      throw;
    }
    AddColumnRows(*result, layout, column, odbc3);
    return result;
  }
  for (const std::string& name : MatchingTables(source, table)) {
    try {
      AddColumnRows(*result, ReadTableLayout(source.folder, name, source.locale), column, odbc3);
    } catch (const SqlError&) {
      // A table whose layout cannot be read has no columns to list among the others.
    }
  }
  return result;
}

std::unique_ptr<RowsResult> TypeInfoResult(SQLSMALLINT dataType, bool odbc3) {
  auto result = std::make_unique<RowsResult>(std::vector<ResultColumn>{
      TextColumn("TYPE_NAME"), ShortColumn("DATA_TYPE"), IntColumn("COLUMN_SIZE"), TextColumn("LITERAL_PREFIX"),
      TextColumn("LITERAL_SUFFIX"), TextColumn("CREATE_PARAMS"), ShortColumn("NULLABLE"),
      ShortColumn("CASE_SENSITIVE"), ShortColumn("SEARCHABLE"), ShortColumn("UNSIGNED_ATTRIBUTE"),
      ShortColumn("FIXED_PREC_SCALE"), ShortColumn("AUTO_UNIQUE_VALUE"), TextColumn("LOCAL_TYPE_NAME"),
      ShortColumn("MINIMUM_SCALE"), ShortColumn("MAXIMUM_SCALE"), ShortColumn("SQL_DATA_TYPE"),
      ShortColumn("SQL_DATETIME_SUB"), IntColumn("NUM_PREC_RADIX"), ShortColumn("INTERVAL_PRECISION")});
  for (const ColumnKind kind : kAllKinds) {
    const std::size_t size = kind == ColumnKind::LongText ? kLongTextSize : kDefaultTextSize;
    const SqlTypeInfo type = TypeInfoOf(kind, size);
    const SQLSMALLINT code = SqlTypeFor(kind, odbc3);
    if (dataType != SQL_ALL_TYPES && dataType != code && dataType != type.sqlType) continue;
    const bool text = kind == ColumnKind::Text || kind == ColumnKind::LongText;
    const bool numeric = type.numPrecRadix != 0;
    const auto optionalText = [](const char* value) { return value ? Cell(value) : Cell(); };
    result->AddRow({std::string(type.typeName), Number(code), Number(static_cast<long long>(type.columnSize)),
                    optionalText(type.literalPrefix), optionalText(type.literalSuffix),
                    text && kind == ColumnKind::Text ? Cell("max length") : Cell(), Number(SQL_NULLABLE),
                    Number(text ? SQL_TRUE : SQL_FALSE), Number(SQL_PRED_BASIC),
                    numeric ? Number(type.isUnsigned ? SQL_TRUE : SQL_FALSE) : Cell(), Number(SQL_FALSE),
                    numeric ? Number(SQL_FALSE) : Cell(), std::string(type.typeName),
                    kind == ColumnKind::Timestamp ? Number(3) : Cell(),
                    kind == ColumnKind::Timestamp ? Number(3) : Cell(), Number(type.verboseType),
                    type.verboseType == SQL_DATETIME ? Number(type.datetimeSub) : Cell(),
                    numeric ? Number(type.numPrecRadix) : Cell(), Cell()});
  }
  return result;
}

}  // namespace quorlin::driver
