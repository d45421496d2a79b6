// The SQLGetInfo answers: a read-only, forward-only, transaction-less source of plain SELECTs.
#include "odbc/driver/driver_info.h"

#include <cstdio>

#include "odbc/driver/handles.h"

namespace quorlin::driver {

namespace {

constexpr SQLUINTEGER kCharacterConversions =
    SQL_CVT_CHAR | SQL_CVT_VARCHAR | SQL_CVT_LONGVARCHAR | SQL_CVT_WCHAR | SQL_CVT_WVARCHAR | SQL_CVT_WLONGVARCHAR;

InfoValue Text(const char* text) { return std::string(text); }
InfoValue Small(SQLUSMALLINT value) { return value; }
InfoValue Mask(SQLUINTEGER value) { return value; }

}  // namespace

std::string OdbcVersionText(const std::string& version) {
  int parts[4] = {0, 0, 0, 0};
  std::sscanf(version.c_str(), "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]);
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", parts[0] % 100, parts[1] % 100,
                (parts[2] * 1000 + parts[3]) % 10000);
  return text;
}

std::optional<InfoValue> DriverInfo(const Connection& connection, SQLUSMALLINT infoType) {
  switch (infoType) {
    // The driver and the data source.
    case SQL_DRIVER_NAME:
      return Text("libquorlin-odbc-text.so");
    case SQL_DRIVER_VER:
    case SQL_DBMS_VER:
      return OdbcVersionText(QUORLIN_VERSION);
    case SQL_DRIVER_ODBC_VER:
      return Text("03.00");
    case SQL_DBMS_NAME:
      return Text("Quorlin Text");
    case SQL_DATA_SOURCE_NAME:
      return connection.dataSource;
    case SQL_DATABASE_NAME:
      return connection.source.folder;
    case SQL_SERVER_NAME:
    case SQL_USER_NAME:
    case SQL_KEYWORDS:
    case SQL_SPECIAL_CHARACTERS:
    case SQL_COLLATION_SEQ:
    case SQL_CATALOG_TERM:
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM:
      return Text("");
    case SQL_TABLE_TERM:
      return Text("table");
    case SQL_XOPEN_CLI_YEAR:
      return Text("1995");
    case SQL_DATA_SOURCE_READ_ONLY:
    case SQL_ACCESSIBLE_TABLES:
    case SQL_MULTIPLE_ACTIVE_TXN:
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
      return Text("Y");
    case SQL_ACCESSIBLE_PROCEDURES:
    case SQL_CATALOG_NAME:
    case SQL_COLUMN_ALIAS:
    case SQL_DESCRIBE_PARAMETER:
    case SQL_EXPRESSIONS_IN_ORDERBY:
    case SQL_INTEGRITY:
    case SQL_LIKE_ESCAPE_CLAUSE:
    case SQL_MULT_RESULT_SETS:
    case SQL_NEED_LONG_DATA_LEN:
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
    case SQL_OUTER_JOINS:
    case SQL_PROCEDURES:
    case SQL_ROW_UPDATES:
      return Text("N");
    case SQL_IDENTIFIER_QUOTE_CHAR:
      return Text("\"");
    case SQL_CATALOG_NAME_SEPARATOR:
      return Text(".");
    case SQL_SEARCH_PATTERN_ESCAPE:
      return Text("\\");

    // Names and limits.
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE:
      return Small(SQL_IC_MIXED);
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_IDENTIFIER_LEN:
      return Small(255);
    case SQL_MAX_TABLES_IN_SELECT:
      return Small(1);
    case SQL_MAX_CURSOR_NAME_LEN:
      return Small(18);
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN:
    case SQL_MAX_USER_NAME_LEN:
    case SQL_MAX_COLUMNS_IN_GROUP_BY:
    case SQL_MAX_COLUMNS_IN_INDEX:
    case SQL_MAX_COLUMNS_IN_ORDER_BY:
    case SQL_MAX_COLUMNS_IN_SELECT:
    case SQL_MAX_COLUMNS_IN_TABLE:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_ACTIVE_ENVIRONMENTS:
      return Small(0);
    case SQL_MAX_INDEX_SIZE:
    case SQL_MAX_ROW_SIZE:
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_CHAR_LITERAL_LEN:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
      return Mask(0);

    // Transactions: the files are only read, so there is nothing to commit.
    case SQL_TXN_CAPABLE:
      return Small(SQL_TC_NONE);
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
      return Small(SQL_CB_PRESERVE);
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION:
      return Mask(0);

    // Cursors: forward only, read only.
    case SQL_SCROLL_OPTIONS:
      return Mask(SQL_SO_FORWARD_ONLY);
    case SQL_FETCH_DIRECTION:
      return Mask(SQL_FD_FETCH_NEXT);
    case SQL_SCROLL_CONCURRENCY:
      return Mask(SQL_SCCO_READ_ONLY);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
      return Mask(SQL_CA1_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
      return Mask(SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_MAX_ROWS_SELECT);
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_LOCK_TYPES:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_STATIC_SENSITIVITY:
      return Mask(0);
    case SQL_CURSOR_SENSITIVITY:
      return Mask(SQL_INSENSITIVE);
    case SQL_GETDATA_EXTENSIONS:
      return Mask(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);

    // The SQL it reads.
    case SQL_SQL_CONFORMANCE:
      return Mask(SQL_SC_SQL92_ENTRY);
    case SQL_ODBC_INTERFACE_CONFORMANCE:
      return Mask(SQL_OIC_CORE);
    case SQL_ODBC_API_CONFORMANCE:
      return Small(SQL_OAC_LEVEL1);
    case SQL_ODBC_SQL_CONFORMANCE:
      return Small(SQL_OSC_MINIMUM);
    case SQL_ODBC_SAG_CLI_CONFORMANCE:
      return Small(SQL_OSCC_COMPLIANT);
    case SQL_STANDARD_CLI_CONFORMANCE:
      return Mask(SQL_SCC_XOPEN_CLI_VERSION1);
    case SQL_SQL92_PREDICATES:
      return Mask(SQL_SP_COMPARISON);
    case SQL_DATETIME_LITERALS:
      return Mask(SQL_DL_SQL92_DATE | SQL_DL_SQL92_TIME | SQL_DL_SQL92_TIMESTAMP);
    case SQL_CONCAT_NULL_BEHAVIOR:
      return Small(SQL_CB_NULL);
    case SQL_NULL_COLLATION:
      return Small(SQL_NC_LOW);
    case SQL_NON_NULLABLE_COLUMNS:
      return Small(SQL_NNC_NULL);
    case SQL_CORRELATION_NAME:
      return Small(SQL_CN_NONE);
    case SQL_GROUP_BY:
      return Small(SQL_GB_NOT_SUPPORTED);
    case SQL_FILE_USAGE:
      return Small(SQL_FILE_TABLE);
    case SQL_CATALOG_LOCATION:
      return Small(0);
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_VARCHAR:
    case SQL_CONVERT_LONGVARCHAR:
      return Mask(kCharacterConversions);
    case SQL_ASYNC_MODE:
      return Mask(SQL_AM_NONE);
    case SQL_INDEX_KEYWORDS:
      return Mask(SQL_IK_NONE);
    case SQL_PARAM_ARRAY_ROW_COUNTS:
      return Mask(SQL_PARC_NO_BATCH);
    case SQL_PARAM_ARRAY_SELECTS:
      return Mask(SQL_PAS_NO_SELECT);
    case SQL_SCHEMA_USAGE:
    case SQL_CATALOG_USAGE:
    case SQL_AGGREGATE_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_CONVERT_FUNCTIONS:
    case SQL_TIMEDATE_ADD_INTERVALS:
    case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_OJ_CAPABILITIES:
    case SQL_SUBQUERIES:
    case SQL_UNION:
    case SQL_ALTER_TABLE:
    case SQL_ALTER_DOMAIN:
    case SQL_CREATE_TABLE:
    case SQL_CREATE_VIEW:
    case SQL_CREATE_SCHEMA:
    case SQL_CREATE_DOMAIN:
    case SQL_CREATE_ASSERTION:
    case SQL_CREATE_CHARACTER_SET:
    case SQL_CREATE_COLLATION:
    case SQL_CREATE_TRANSLATION:
    case SQL_DROP_TABLE:
    case SQL_DROP_VIEW:
    case SQL_DROP_SCHEMA:
    case SQL_DROP_DOMAIN:
    case SQL_DROP_ASSERTION:
    case SQL_DROP_CHARACTER_SET:
    case SQL_DROP_COLLATION:
    case SQL_DROP_TRANSLATION:
    case SQL_DDL_INDEX:
    case SQL_INSERT_STATEMENT:
    case SQL_INFO_SCHEMA_VIEWS:
    case SQL_BATCH_ROW_COUNT:
    case SQL_BATCH_SUPPORT:
    case SQL_SQL92_DATETIME_FUNCTIONS:
    case SQL_SQL92_FOREIGN_KEY_DELETE_RULE:
    case SQL_SQL92_FOREIGN_KEY_UPDATE_RULE:
    case SQL_SQL92_GRANT:
    case SQL_SQL92_NUMERIC_VALUE_FUNCTIONS:
    case SQL_SQL92_RELATIONAL_JOIN_OPERATORS:
    case SQL_SQL92_REVOKE:
    case SQL_SQL92_ROW_VALUE_CONSTRUCTOR:
    case SQL_SQL92_STRING_FUNCTIONS:
    case SQL_SQL92_VALUE_EXPRESSIONS:
      return Mask(0);
    default:
      break;
  }
  // Every other conversion of the CONVERT function: none.
  if ((infoType >= SQL_CONVERT_BIGINT && infoType <= SQL_CONVERT_VARCHAR) || infoType == SQL_CONVERT_WCHAR ||
      infoType == SQL_CONVERT_WLONGVARCHAR || infoType == SQL_CONVERT_WVARCHAR ||
      infoType == SQL_CONVERT_INTERVAL_DAY_TIME || infoType == SQL_CONVERT_INTERVAL_YEAR_MONTH) {
    return Mask(0);
  }
  return std::nullopt;
}

}  // namespace quorlin::driver
