#include "support/duckdb_query.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "support/run_command.h"
#include "support/test_files.h"

namespace quorlin::testing {

namespace {

// Reads a JSON array of queries from the file named first, prints a JSON array of results.
constexpr const char* kScript = R"(
const path = require('path');
const fs = require('fs');
const { DuckDBInstance } = require(path.join(process.argv[2], 'node_modules/@duckdb/node-api'));
(async () => {
  const queries = JSON.parse(fs.readFileSync(process.argv[3], 'utf8'));
  const db = await DuckDBInstance.create(':memory:');
  const connection = await db.connect();
  const results = [];
  for (const query of queries) {
    try {
      const reader = await connection.runAndReadAll(
          'SELECT COLUMNS(*)::VARCHAR FROM (' + query + ')');
      results.push(reader.getRows().map(row => row.map(v => v === null ? 'NULL' : String(v))));
    } catch (error) {
      results.push([['ERROR: ' + error.message]]);
    }
  }
  process.stdout.write(JSON.stringify(results));
})();
)";

}  // namespace

std::vector<std::vector<std::vector<std::string>>> DuckDbRows(const std::vector<std::string>& queries) {
  TempDir dir;
  WriteBytes(dir.File("query.cjs"), kScript);
  WriteBytes(dir.File("queries.json"), nlohmann::json(queries).dump());
  const CommandResult result = RunCommand("node " + dir.File("query.cjs") + " '" + QUORLIN_DUCKDB_NODE_DIR +
                                          "' " + dir.File("queries.json") + " 2>&1");
  if (result.exitCode != 0) {
    throw std::runtime_error("DuckDB's Node.js package did not run (scripts/setup.sh installs it into " +
                             std::string(QUORLIN_DUCKDB_NODE_DIR) + "): " + result.out);
  }
  return nlohmann::json::parse(result.out).get<std::vector<std::vector<std::vector<std::string>>>>();
}

std::vector<std::vector<std::string>> DuckDbRows(const std::string& query) {
  return DuckDbRows(std::vector<std::string>{query}).front();
}

std::string SqlString(const std::string& text) {
  std::string literal = "'";
  for (const char c : text) {
    literal += c;
    if (c == '\'') literal += '\'';
  }
  return literal + "'";
}

}  // namespace quorlin::testing
