// How a data file of the folder is read as a table: its cutting and its typed columns.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "odbc/driver/column_kind.h"
#include "platform/locale_settings.h"
#include "text/character_set.h"

namespace quorlin::driver {

struct ColumnDef {
  std::string name;
  ColumnKind kind = ColumnKind::Text;
  std::size_t textSize = kDefaultTextSize;
  // The recognisers' settings for this column: a saved date format decides the order of day,
  // month and year.
  LocaleSettings locale;
};

struct TableLayout {
  std::string path;       // the data file
  std::string tableName;  // its name in the folder
  bool fixed = false;
  std::string separator;  // delimited files
  std::string qualifier = "\"";
  std::vector<std::size_t> widths;  // fixed-length files, one per column
  bool headerRow = false;           // line 1 holds names, not data
  CharacterSet characterSet;        // the rows are handed out decoded from it to UTF-8
  std::vector<ColumnDef> columns;
};

// The layout of `table` in `folder`: the file's section of the folder's Schema.INI with the
// program's own reader, or, without a section, a comma-delimited file with a header row whose
// columns are text, in the character set its first bytes show. Raises SqlError: 42S02 for a table that cannot be opened as a file of the
// folder, HY000 for a section that cannot be used (the message names the entry).
TableLayout ReadTableLayout(const std::string& folder, const std::string& table,
                            const LocaleSettings& locale);

// The index of the column named `name` (compared without regard to case), or raises SqlError
// 42S22.
std::size_t FindColumn(const TableLayout& layout, const std::string& name);

}  // namespace quorlin::driver
