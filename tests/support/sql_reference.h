// Statements run on a real SQLite table holding the same rows as a data folder, to compare a
// client's results with.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace quorlin::testing {

// Fills `folder` with orders.csv and customers.txt written by Python's csv module, and their
// Schema.INI, and `referenceDb` with the same rows in real tables named "orders.csv" and
// "customers.txt". Returns false when python3 fails.
bool WriteSqlFolder(const std::string& folder, const std::string& referenceDb);

// The rows `sql` gives in the sqlite3 program on `referenceDb`, as a JSON array of arrays.
nlohmann::json ReferenceRows(const std::string& referenceDb, const std::string& sql);

// The rows `sql` gives through pyodbc on data source `dataSource`, as a JSON array of arrays, or
// the client's error text as a JSON string.
nlohmann::json PyodbcRows(const std::string& dataSource, const std::string& sql);

// Whether two results hold the same rows: texts and NULLs alike, numbers equal to 1e-9 of their size.
bool SameRows(const nlohmann::json& left, const nlohmann::json& right);

}  // namespace quorlin::testing
