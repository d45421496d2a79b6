#include "export/sql/sql_keywords.h"

#include <algorithm>
#include <string>

namespace quorlin {

namespace {

// Sorted, upper case: SQL-92's reserved words and the keywords SQLite and its relatives add.
constexpr std::string_view kKeywords[] = {
    "ABORT", "ABSOLUTE", "ACTION", "ADD", "AFTER", "ALL", "ALLOCATE", "ALTER", "ANALYZE", "AND",
    "ANY", "ARE", "AS", "ASC", "ASSERTION", "AT", "ATTACH", "AUTHORIZATION", "AUTOINCREMENT",
    "AVG", "BEFORE", "BEGIN", "BETWEEN", "BIT", "BIT_LENGTH", "BOTH", "BY", "CASCADE", "CASCADED",
    "CASE", "CAST", "CATALOG", "CHAR", "CHARACTER", "CHARACTER_LENGTH", "CHAR_LENGTH", "CHECK",
    "CLOSE", "COALESCE", "COLLATE", "COLLATION", "COLUMN", "COMMIT", "CONFLICT", "CONNECT",
    "CONNECTION", "CONSTRAINT", "CONSTRAINTS", "CONTINUE", "CONVERT", "CORRESPONDING", "COUNT",
    "CREATE", "CROSS", "CURRENT", "CURRENT_DATE", "CURRENT_TIME", "CURRENT_TIMESTAMP",
    "CURRENT_USER", "CURSOR", "DATABASE", "DATE", "DAY", "DEALLOCATE", "DEC", "DECIMAL",
    "DECLARE", "DEFAULT", "DEFERRABLE", "DEFERRED", "DELETE", "DESC", "DESCRIBE", "DESCRIPTOR",
    "DETACH", "DIAGNOSTICS", "DISCONNECT", "DISTINCT", "DO", "DOMAIN", "DOUBLE", "DROP", "EACH",
    "ELSE", "END", "ESCAPE", "EXCEPT", "EXCEPTION", "EXCLUDE", "EXCLUSIVE", "EXEC", "EXECUTE",
    "EXISTS", "EXPLAIN", "EXTERNAL", "EXTRACT", "FAIL", "FALSE", "FETCH", "FILTER", "FIRST",
    "FLOAT", "FOLLOWING", "FOR", "FOREIGN", "FOUND", "FROM", "FULL", "GENERATED", "GET", "GLOB",
    "GLOBAL", "GO", "GOTO", "GRANT", "GROUP", "GROUPS", "HAVING", "HOUR", "IDENTITY", "IF",
    "IGNORE", "IMMEDIATE", "IN", "INDEX", "INDEXED", "INDICATOR", "INITIALLY", "INNER", "INPUT",
    "INSENSITIVE", "INSERT", "INSTEAD", "INT", "INTEGER", "INTERSECT", "INTERVAL", "INTO", "IS",
    "ISNULL", "ISOLATION", "JOIN", "KEY", "LANGUAGE", "LAST", "LEADING", "LEFT", "LEVEL", "LIKE",
    "LIMIT", "LOCAL", "LOWER", "MATCH", "MATERIALIZED", "MAX", "MIN", "MINUTE", "MODULE", "MONTH",
    "NAMES", "NATIONAL", "NATURAL", "NCHAR", "NEXT", "NO", "NOT", "NOTHING", "NOTNULL", "NULL",
    "NULLIF", "NULLS", "NUMERIC", "OCTET_LENGTH", "OF", "OFFSET", "ON", "ONLY", "OPEN", "OPTION",
    "OR", "ORDER", "OTHERS", "OUTER", "OUTPUT", "OVER", "OVERLAPS", "PAD", "PARTIAL", "PARTITION",
    "PLAN", "POSITION", "PRAGMA", "PRECEDING", "PRECISION", "PREPARE", "PRESERVE", "PRIMARY",
    "PRIOR", "PRIVILEGES", "PROCEDURE", "PUBLIC", "QUERY", "RAISE", "RANGE", "READ", "REAL",
    "RECURSIVE", "REFERENCES", "REGEXP", "REINDEX", "RELATIVE", "RELEASE", "RENAME", "REPLACE",
    "RESTRICT", "RETURNING", "REVOKE", "RIGHT", "ROLLBACK", "ROW", "ROWS", "SAVEPOINT", "SCHEMA",
    "SCROLL", "SECOND", "SECTION", "SELECT", "SESSION", "SESSION_USER", "SET", "SIZE", "SMALLINT",
    "SOME", "SPACE", "SQL", "SQLCODE", "SQLERROR", "SQLSTATE", "SUBSTRING", "SUM", "SYSTEM_USER",
    "TABLE", "TEMP", "TEMPORARY", "THEN", "TIES", "TIME", "TIMESTAMP", "TIMEZONE_HOUR",
    "TIMEZONE_MINUTE", "TO", "TRAILING", "TRANSACTION", "TRANSLATE", "TRANSLATION", "TRIGGER",
    "TRIM", "TRUE", "UNBOUNDED", "UNION", "UNIQUE", "UNKNOWN", "UPDATE", "UPPER", "USAGE", "USER",
    "USING", "VACUUM", "VALUE", "VALUES", "VARCHAR", "VARYING", "VIEW", "VIRTUAL", "WHEN",
    "WHENEVER", "WHERE", "WINDOW", "WITH", "WITHOUT", "WORK", "WRITE", "YEAR", "ZONE"
};

}  // namespace

bool IsSqlKeyword(std::string_view word) {
  if (word.size() > 32) return false;
  std::string upper(word);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return std::binary_search(std::begin(kKeywords), std::end(kKeywords), upper);
}

}  // namespace quorlin
