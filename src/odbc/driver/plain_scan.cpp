// Reading the program of a prepared statement to tell a plain pass over one table.
#include "odbc/driver/plain_scan.h"

#include <memory>
#include <string_view>

#include "platform/ascii_case.h"

namespace quorlin::driver {

namespace {

// Opening and walking a virtual table, handing out its columns, and the bookkeeping around;
// any other instruction compares, orders, counts, computes or copies.
bool IsScanInstruction(std::string_view opcode) {
  static constexpr std::string_view kScan[] = {"Init",    "Goto",    "Halt",    "Transaction", "VOpen",
                                               "VFilter", "VColumn", "VNext",   "ResultRow",   "Integer"};
  for (const std::string_view known : kScan) {
    if (opcode == known) return true;
  }
  return false;
}

struct Program {
  std::vector<std::size_t> columnsRead;  // VColumn's columns, in program order
  int opened = 0;
  int resultRows = 0;
  int resultWidth = -1;
};

std::optional<Program> ReadProgram(sqlite3* db, sqlite3_stmt* statement) {
  const char* sql = sqlite3_sql(statement);
  if (sql == nullptr) return std::nullopt;
  const std::string explain = std::string("EXPLAIN ") + sql;
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, explain.c_str(), -1, &raw, nullptr) != SQLITE_OK || raw == nullptr) {
    sqlite3_finalize(raw);
    return std::nullopt;
  }
  const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> listing(raw, sqlite3_finalize);
  Program program;
  int stepped = SQLITE_ROW;
  while ((stepped = sqlite3_step(raw)) == SQLITE_ROW) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
    const std::string_view opcode = text != nullptr ? text : "";
    if (!IsScanInstruction(opcode)) return std::nullopt;
    if (opcode == "VOpen") ++program.opened;
    if (opcode == "VColumn") program.columnsRead.push_back(static_cast<std::size_t>(sqlite3_column_int(raw, 3)));
    if (opcode == "ResultRow") {
      ++program.resultRows;
      program.resultWidth = sqlite3_column_int(raw, 3);
    }
  }
  if (stepped != SQLITE_DONE) return std::nullopt;
  return program;
}

}  // namespace

std::optional<PlainScan> FindPlainScan(sqlite3* db, sqlite3_stmt* statement,
                                       const std::map<std::string, TableLayout>& layouts) {
  const int count = sqlite3_column_count(statement);
  if (count <= 0) return std::nullopt;
  const char* table = sqlite3_column_table_name(statement, 0);
  const auto found = table != nullptr ? layouts.find(AsciiLower(table)) : layouts.end();
  if (found == layouts.end()) return std::nullopt;
  const std::optional<Program> program = ReadProgram(db, statement);
  if (!program || program->opened != 1 || program->resultRows != 1 || program->resultWidth != count ||
      program->columnsRead.size() != static_cast<std::size_t>(count)) {
    return std::nullopt;
  }
  // Each result column must be the very field the program reads for it.
  const TableLayout& layout = found->second;
  for (int k = 0; k < count; ++k) {
    const std::size_t field = program->columnsRead[static_cast<std::size_t>(k)];
    const char* columnTable = sqlite3_column_table_name(statement, k);
    const char* origin = sqlite3_column_origin_name(statement, k);
    if (field >= layout.columns.size() || columnTable == nullptr || origin == nullptr ||
        std::string_view(columnTable) != table || layout.columns[field].name != origin) {
      return std::nullopt;
    }
  }
  return PlainScan{layout, program->columnsRead};
}

}  // namespace quorlin::driver
