// The result sets of the catalog functions SQLTables, SQLColumns and SQLGetTypeInfo.
#pragma once

#include <sql.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/driver/result_set.h"
#include "platform/locale_settings.h"

namespace quorlin::driver {

// An ODBC search pattern: "%" any run of characters, "_" one character, "\" takes the next
// one literally. Letters compare without regard to case, as table and column names do.
bool MatchesPattern(std::string_view pattern, std::string_view name);

struct FolderSource {
  std::string folder;
  std::vector<std::string> extensions;
  LocaleSettings locale;
};

// A missing argument (NULL) is std::nullopt.
std::unique_ptr<RowsResult> TablesResult(const FolderSource& source, const std::optional<std::string>& catalog,
                                         const std::optional<std::string>& schema,
                                         const std::optional<std::string>& table,
                                         const std::optional<std::string>& tableTypes);

// Raises SqlError when a table named without wildcards has a layout that cannot be read;
// tables found through wildcards that cannot be read are left out.
std::unique_ptr<RowsResult> ColumnsResult(const FolderSource& source, const std::optional<std::string>& table,
                                          const std::optional<std::string>& column, bool odbc3);

// SQL_ALL_TYPES for every type; a type the driver does not have gives no rows.
std::unique_ptr<RowsResult> TypeInfoResult(SQLSMALLINT dataType, bool odbc3);

}  // namespace quorlin::driver
