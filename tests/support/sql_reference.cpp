#include "support/sql_reference.h"

#include <cmath>

#include "support/odbc_sandbox.h"
#include "support/run_command.h"

namespace quorlin::testing {

namespace {

std::string Script(const char* name) { return std::string(QUORLIN_TEST_DATA) + "/support/" + name; }

bool SameCell(const nlohmann::json& left, const nlohmann::json& right) {
  if (left.is_number() && right.is_number()) {
    const double a = left.get<double>();
    const double b = right.get<double>();
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
  }
  return left == right;
}

}  // namespace

bool WriteSqlFolder(const std::string& folder, const std::string& referenceDb) {
  return RunCommand("/usr/bin/python3 " + ShellQuoted(Script("sql_folder.py")) + " " + ShellQuoted(folder) + " " +
                    ShellQuoted(referenceDb))
             .exitCode == 0;
}

nlohmann::json ReferenceRows(const std::string& referenceDb, const std::string& sql) {
  const CommandResult result = RunCommand("sqlite3 -json " + ShellQuoted(referenceDb) + " " + ShellQuoted(sql) + " 2>&1");
  if (result.exitCode != 0) return result.out;
  nlohmann::json rows = nlohmann::json::array();
  if (result.out.find_first_not_of(" \r\n") == std::string::npos) return rows;
  for (const auto& object : nlohmann::ordered_json::parse(result.out)) {
    nlohmann::json& row = rows.emplace_back(nlohmann::json::array());
    for (const auto& item : object.items()) row.push_back(nlohmann::json::parse(item.value().dump()));
  }
  return rows;
}

nlohmann::json PyodbcRows(const std::string& dataSource, const std::string& sql) {
  const CommandResult result = RunOdbcClient("/usr/bin/python3 " + ShellQuoted(Script("sql_rows.py")) + " " +
                                             ShellQuoted(dataSource) + " " + ShellQuoted(sql) + " 2>&1");
  if (result.exitCode != 0) return result.out;
  return nlohmann::json::parse(result.out);
}

bool SameRows(const nlohmann::json& left, const nlohmann::json& right) {
  if (!left.is_array() || !right.is_array() || left.size() != right.size()) return false;
  for (std::size_t row = 0; row < left.size(); ++row) {
    if (left[row].size() != right[row].size()) return false;
    for (std::size_t k = 0; k < left[row].size(); ++k) {
      if (!SameCell(left[row][k], right[row][k])) return false;
    }
  }
  return true;
}

}  // namespace quorlin::testing
