// Queries run by DuckDB (its Node.js package, installed by the setup script), for reading back
// Parquet files and running engine statements in the tests.
#pragma once

#include <string>
#include <vector>

namespace quorlin::testing {

// The rows of each query, every value as DuckDB casts it to text ("NULL" for a null), one
// inner vector per row. A query that fails gives one row holding "ERROR: " and the message.
std::vector<std::vector<std::vector<std::string>>> DuckDbRows(const std::vector<std::string>& queries);

// The rows of one query.
std::vector<std::vector<std::string>> DuckDbRows(const std::string& query);

// A text as an SQL string literal.
std::string SqlString(const std::string& text);

}  // namespace quorlin::testing
