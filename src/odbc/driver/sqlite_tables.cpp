// Virtual tables whose rows come from the program's own record reader, splitter and recognisers.
#include "odbc/driver/sqlite_tables.h"

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "odbc/driver/connection_ops.h"
#include "odbc/driver/table_cursor.h"
#include "platform/folder_files.h"

namespace quorlin::driver {

namespace {

struct TextTable {
  sqlite3_vtab base{};
  TableLayout layout;
  TableModuleContext* context = nullptr;
};

// A condition SQLite hands to the table; rows that surely fail it are skipped before SQLite
// asks for any of their values. SQLite checks every condition again, so a row let through is
// never wrong.
struct Constraint {
  std::size_t column = 0;
  unsigned char op = 0;
  bool binary = true;  // texts compare byte by byte
  sqlite3_value* value = nullptr;
};

struct TextTableCursor {
  sqlite3_vtab_cursor base{};
  std::unique_ptr<TableCursor> rows;
  std::vector<Constraint> constraints;
  bool atEnd = true;
  std::string text;  // a date's or time's ISO form while SQLite copies it

  ~TextTableCursor() { DropConstraints(); }
  void DropConstraints() {
    for (Constraint& constraint : constraints) sqlite3_value_free(constraint.value);
    constraints.clear();
  }
};

TextTable* TableOf(sqlite3_vtab* table) { return reinterpret_cast<TextTable*>(table); }
TextTableCursor* CursorOf(sqlite3_vtab_cursor* cursor) { return reinterpret_cast<TextTableCursor*>(cursor); }

// The message goes to SQLite; with a context the SQLSTATE is kept for the driver.
int Fail(TextTable* table, const SqlError& error) {
  sqlite3_free(table->base.zErrMsg);
  table->base.zErrMsg = sqlite3_mprintf("%s", error.what());
  if (table->context != nullptr) table->context->failure = error;
  return SQLITE_ERROR;
}

std::string Unquoted(std::string_view argument) {
  if (argument.size() < 2 || (argument.front() != '\'' && argument.front() != '"') ||
      argument.back() != argument.front()) {
    return std::string(argument);
  }
  const char quote = argument.front();
  std::string text;
  for (std::size_t k = 1; k + 1 < argument.size(); ++k) {
    text += argument[k];
    if (argument[k] == quote && argument[k + 1] == quote) ++k;
  }
  return text;
}

TableLayout LayoutOfPath(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string folder = file.has_parent_path() ? file.parent_path().string() : std::string(".");
  return ReadTableLayout(WithTrailingSlash(folder), file.filename().string(), EnvironmentLocaleSettings());
}

int Connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** table, char** error) {
  auto* context = static_cast<TableModuleContext*>(aux);
  auto created = std::make_unique<TextTable>();
  created->context = context;
  try {
    if (context != nullptr) {
      const auto read = context->readLayouts.find(argv[2]);
      if (read == context->readLayouts.end()) throw SqlError(state::kGeneralError, "No layout was read for this table");
      created->layout = read->second;
    } else {
      if (argc < 4) {
        throw SqlError(state::kGeneralError, "quorlin needs the path of a data file: USING quorlin('/data/file.csv')");
      }
      created->layout = LayoutOfPath(Unquoted(argv[3]));
    }
    const std::size_t count = created->layout.columns.size();
    const auto limit = static_cast<std::size_t>(sqlite3_limit(db, SQLITE_LIMIT_COLUMN, -1));
    if (count > kMaxColumns || count > limit) {
      throw SqlError(state::kGeneralError, "Table " + created->layout.tableName + " has " + std::to_string(count) +
                                               " columns; a statement can use at most " +
                                               std::to_string(std::min(limit, kMaxColumns)));
    }
  } catch (const SqlError& failure) {
    if (context != nullptr) context->failure = failure;
    *error = sqlite3_mprintf("%s", failure.what());
    return SQLITE_ERROR;
  }
  std::string declaration = "CREATE TABLE x(";
  for (std::size_t k = 0; k < created->layout.columns.size(); ++k) {
    const ColumnDef& column = created->layout.columns[k];
    declaration += (k > 0 ? ", " : "") + SqlQuoted(column.name, '"') + " " + DeclaredType(column);
  }
  declaration += ")";
  const int result = sqlite3_declare_vtab(db, declaration.c_str());
  if (result != SQLITE_OK) {
    *error = sqlite3_mprintf("Table %s cannot be declared: %s", created->layout.tableName.c_str(), sqlite3_errmsg(db));
    return result;
  }
  *table = &created.release()->base;
  return SQLITE_OK;
}

bool Usable(unsigned char op) {
  return op == SQLITE_INDEX_CONSTRAINT_EQ || op == SQLITE_INDEX_CONSTRAINT_GT || op == SQLITE_INDEX_CONSTRAINT_LE ||
         op == SQLITE_INDEX_CONSTRAINT_LT || op == SQLITE_INDEX_CONSTRAINT_GE;
}

// The conditions taken go into idxStr as "column op binary;" in the order of their arguments.
int BestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
  std::string taken;
  int argument = 0;
  for (int k = 0; k < info->nConstraint; ++k) {
    const auto& constraint = info->aConstraint[k];
    if (!constraint.usable || constraint.iColumn < 0 || !Usable(constraint.op)) continue;
    info->aConstraintUsage[k].argvIndex = ++argument;
    info->aConstraintUsage[k].omit = 0;
    const char* collation = sqlite3_vtab_collation(info, k);
    const bool binary = collation == nullptr || sqlite3_stricmp(collation, "BINARY") == 0;
    taken += std::to_string(constraint.iColumn) + " " + std::to_string(constraint.op) + " " + (binary ? "1" : "0") + ";";
  }
  if (argument > 0) {
    info->idxStr = sqlite3_mprintf("%s", taken.c_str());
    info->needToFreeIdxStr = 1;
  }
  // Every plan reads the whole file; one that skips rows early is a little cheaper.
  info->estimatedCost = 1e6 - argument;
  info->estimatedRows = argument > 0 ? 10000 : 1000000;
  return SQLITE_OK;
}

int Disconnect(sqlite3_vtab* table) {
  delete TableOf(table);
  return SQLITE_OK;
}

int Open(sqlite3_vtab*, sqlite3_vtab_cursor** cursor) {
  *cursor = &(new TextTableCursor())->base;
  return SQLITE_OK;
}

int Close(sqlite3_vtab_cursor* cursor) {
  delete CursorOf(cursor);
  return SQLITE_OK;
}

// The sign of value - wanted when the two compare as SQLite would compare them; false when
// they do not compare plainly (types SQLite would convert first, or another collation).
bool CompareValue(const CellValue& value, const Constraint& constraint, int& order) {
  sqlite3_value* wanted = constraint.value;
  const int type = sqlite3_value_type(wanted);
  const bool wantedNumber = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
  switch (value.kind) {
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit:
    case CellValue::Kind::Double: {
      if (!wantedNumber) return false;
      const long double left = value.kind == CellValue::Kind::Double ? static_cast<long double>(value.real)
                                                                      : static_cast<long double>(value.integer);
      const long double right = type == SQLITE_INTEGER ? static_cast<long double>(sqlite3_value_int64(wanted))
                                                       : static_cast<long double>(sqlite3_value_double(wanted));
      order = left < right ? -1 : left > right ? 1 : 0;
      return true;
    }
    case CellValue::Kind::Text: {
      if (type != SQLITE_TEXT || !constraint.binary) return false;
      const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(wanted));
      const int compared =
          value.text.compare(std::string_view(bytes, static_cast<std::size_t>(sqlite3_value_bytes(wanted))));
      order = compared < 0 ? -1 : compared > 0 ? 1 : 0;
      return true;
    }
    // Date and time columns have numeric affinity: SQLite may read a wanted text as a number.
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
    case CellValue::Kind::Null:
      return false;
  }
  return false;
}

bool SurelyFails(TextTableCursor& cursor) {
  for (const Constraint& constraint : cursor.constraints) {
    CellValue value;
    try {
      value = cursor.rows->Value(constraint.column);
    } catch (const SqlError&) {
      return false;  // SQLite asks for the value itself and reports it
    }
    // A NULL meets no comparison, and neither does anything compared with NULL.
    if (value.kind == CellValue::Kind::Null || sqlite3_value_type(constraint.value) == SQLITE_NULL) return true;
    int order = 0;
    if (!CompareValue(value, constraint, order)) continue;
    switch (constraint.op) {
      case SQLITE_INDEX_CONSTRAINT_EQ:
        if (order != 0) return true;
        break;
      case SQLITE_INDEX_CONSTRAINT_GT:
        if (order <= 0) return true;
        break;
      case SQLITE_INDEX_CONSTRAINT_GE:
        if (order < 0) return true;
        break;
      case SQLITE_INDEX_CONSTRAINT_LT:
        if (order >= 0) return true;
        break;
      case SQLITE_INDEX_CONSTRAINT_LE:
        if (order > 0) return true;
        break;
      default:
        break;
    }
  }
  return false;
}

int Advance(TextTableCursor& cursor, TextTable* table) {
  try {
    do {
      if (!cursor.rows->Next()) {
        cursor.atEnd = true;
        return SQLITE_OK;
      }
    } while (SurelyFails(cursor));
  } catch (const SqlError& error) {
    cursor.atEnd = true;
    return Fail(table, error);
  }
  return SQLITE_OK;
}

int Filter(sqlite3_vtab_cursor* base, int, const char* taken, int argc, sqlite3_value** argv) {
  TextTableCursor& cursor = *CursorOf(base);
  TextTable* table = TableOf(base->pVtab);
  cursor.DropConstraints();
  std::string_view list = taken != nullptr ? taken : "";
  for (int k = 0; k < argc && !list.empty(); ++k) {
    const std::size_t end = list.find(';');
    const std::string entry(list.substr(0, end));
    list.remove_prefix(end + 1);
    Constraint constraint;
    unsigned op = 0;
    int binary = 1;
    if (std::sscanf(entry.c_str(), "%zu %u %d", &constraint.column, &op, &binary) != 3) break;
    constraint.op = static_cast<unsigned char>(op);
    constraint.binary = binary != 0;
    constraint.value = sqlite3_value_dup(argv[k]);
    if (constraint.value == nullptr) return SQLITE_NOMEM;
    cursor.constraints.push_back(constraint);
  }
  cursor.rows.reset();
  cursor.atEnd = true;
  try {
    cursor.rows = std::make_unique<TableCursor>(table->layout);
  } catch (const SqlError& error) {
    return Fail(table, error);
  }
  cursor.atEnd = false;
  return Advance(cursor, table);
}

int NextRow(sqlite3_vtab_cursor* base) { return Advance(*CursorOf(base), TableOf(base->pVtab)); }

int Eof(sqlite3_vtab_cursor* base) { return CursorOf(base)->atEnd ? 1 : 0; }

int Column(sqlite3_vtab_cursor* base, sqlite3_context* result, int column) {
  TextTableCursor& cursor = *CursorOf(base);
  CellValue value;
  try {
    value = cursor.rows->Value(static_cast<std::size_t>(column));
  } catch (const SqlError& error) {
    TextTable* table = TableOf(base->pVtab);
    if (table->context != nullptr) table->context->failure = error;
    sqlite3_result_error(result, error.what(), -1);
    return SQLITE_ERROR;
  }
  switch (value.kind) {
    case CellValue::Kind::Null:
      sqlite3_result_null(result);
      break;
    case CellValue::Kind::Text:
      sqlite3_result_text(result, value.text.data(), static_cast<int>(value.text.size()), SQLITE_TRANSIENT);
      break;
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit:
      sqlite3_result_int64(result, value.integer);
      break;
    case CellValue::Kind::Double:
      sqlite3_result_double(result, value.real);
      break;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
      cursor.text.clear();
      AppendCharacterForm(value, cursor.text);
      sqlite3_result_text(result, cursor.text.data(), static_cast<int>(cursor.text.size()), SQLITE_TRANSIENT);
      break;
  }
  return SQLITE_OK;
}

int RowId(sqlite3_vtab_cursor* base, sqlite3_int64* row) {
  *row = CursorOf(base)->rows->Row();
  return SQLITE_OK;
}

// Without xUpdate SQLite refuses every change to these tables itself.
const sqlite3_module kModule = {.iVersion = 0,
                                .xCreate = Connect,
                                .xConnect = Connect,
                                .xBestIndex = BestIndex,
                                .xDisconnect = Disconnect,
                                .xDestroy = Disconnect,
                                .xOpen = Open,
                                .xClose = Close,
                                .xFilter = Filter,
                                .xNext = NextRow,
                                .xEof = Eof,
                                .xColumn = Column,
                                .xRowid = RowId,
                                .xUpdate = nullptr,
                                .xBegin = nullptr,
                                .xSync = nullptr,
                                .xCommit = nullptr,
                                .xRollback = nullptr,
                                .xFindFunction = nullptr,
                                .xRename = nullptr,
                                .xSavepoint = nullptr,
                                .xRelease = nullptr,
                                .xRollbackTo = nullptr,
                                .xShadowName = nullptr};

}  // namespace

int RegisterTableModule(sqlite3* db, TableModuleContext* context) {
  return sqlite3_create_module_v2(db, "quorlin", &kModule, context, nullptr);
}

std::string SqlQuoted(const std::string& text, char quote) {
  std::string quoted(1, quote);
  for (const char c : text) {
    quoted += c;
    if (c == quote) quoted += c;
  }
  return quoted + quote;
}

std::string DeclaredType(const ColumnDef& column) {
  const SqlTypeInfo type = TypeInfoOf(column.kind, column.textSize);
  if (column.kind == ColumnKind::Text) return std::string(type.typeName) + "(" + std::to_string(column.textSize) + ")";
  return type.typeName;
}

}  // namespace quorlin::driver
