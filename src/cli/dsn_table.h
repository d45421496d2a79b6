// A table opened through an ODBC data source, its rows printed as the driver returns them.
#pragma once

#include <ostream>
#include <string>

namespace quorlin {

// Connects to `dataSource` through the driver manager, reads every row of `table` and prints
// them: tab-separated under a line of column names, or as one JSON object
// {"columns": [{"name","type"}...], "rows": [[...]...]} with NULL as null. Rows are printed as
// they arrive. Raises CliError (exit 3) with the driver's message when the table cannot be
// opened or read.
void PrintDataSourceTable(const std::string& dataSource, const std::string& table, bool json, std::ostream& out);

// The same for the rows of any statement the driver runs.
void PrintDataSourceQuery(const std::string& dataSource, const std::string& sql, bool json, std::ostream& out);

}  // namespace quorlin
