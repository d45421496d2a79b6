// Preparing client statements with SQLite, never letting one write, attach or load anything.
#include "odbc/driver/sql_database.h"

#include <sys/stat.h>

#include <filesystem>

#include "odbc/driver/scan_rows.h"
#include "odbc/driver/sql_query.h"
#include "odbc/driver/table_files.h"
#include "platform/ascii_case.h"
#include "platform/folder_files.h"

namespace quorlin::driver {

namespace {

constexpr const char* kNeverWrites = "the text driver never writes its files";
constexpr const char* kOnlyReading = "Only statements that read are run: the text driver never writes its files";

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

// Pragmas that take an argument and still only read.
bool ReadsWithArgument(const std::string& pragma) {
  static constexpr std::string_view kReading[] = {"table_info", "table_xinfo", "table_list", "index_info",
                                                  "index_list", "index_xinfo", "foreign_key_list"};
  for (const std::string_view name : kReading) {
    if (EqualNoCase(name, pragma)) return true;
  }
  return false;
}

const ColumnDef* ColumnNamed(const TableLayout& layout, const char* name) {
  if (name == nullptr) return nullptr;
  for (const ColumnDef& column : layout.columns) {
    if (EqualNoCase(column.name, name)) return &column;
  }
  return nullptr;
}

ColumnKind KindOfValue(int type) {
  switch (type) {
    case SQLITE_INTEGER:
      return ColumnKind::BigInt;
    case SQLITE_FLOAT:
      return ColumnKind::Double;
    default:
      return ColumnKind::Text;
  }
}

}  // namespace

SqlDatabase::SqlDatabase(FolderSource source) : source_(std::move(source)) {
  const int opened = sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MEMORY, nullptr);
  if (opened != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw SqlError(state::kGeneralError, "The SQL engine cannot start: " + message);
  }
  sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_extended_result_codes(db_, 1);
  RegisterTableModule(db_, &context_);
  sqlite3_set_authorizer(db_, &SqlDatabase::Authorize, this);
}

SqlDatabase::~SqlDatabase() { sqlite3_close_v2(db_); }

int SqlDatabase::Authorize(void* data, int action, const char* first, const char* second, const char*,
                           const char*) {
  auto* self = static_cast<SqlDatabase*>(data);
  if (self->creating_) return SQLITE_OK;
  switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
      self->refusal_ = std::string("Attaching databases is refused: ") + kNeverWrites;
      return SQLITE_DENY;
    case SQLITE_PRAGMA:
      if (second == nullptr || ReadsWithArgument(first != nullptr ? first : "")) return SQLITE_OK;
      self->refusal_ = std::string("Changing a setting with PRAGMA is refused: ") + kNeverWrites;
      return SQLITE_DENY;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_TEMP_INDEX:
    case SQLITE_CREATE_TEMP_TABLE:
    case SQLITE_CREATE_TEMP_TRIGGER:
    case SQLITE_CREATE_TEMP_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_TEMP_INDEX:
    case SQLITE_DROP_TEMP_TABLE:
    case SQLITE_DROP_TEMP_TRIGGER:
    case SQLITE_DROP_TEMP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_VTABLE:
    case SQLITE_ALTER_TABLE:
    case SQLITE_REINDEX:
    case SQLITE_ANALYZE:
      self->refusal_ = kOnlyReading;
      return SQLITE_DENY;
    case SQLITE_FUNCTION:
      if (second != nullptr && EqualNoCase(second, "load_extension")) {
        self->refusal_ = std::string("Loading extensions is refused: ") + kNeverWrites;
        return SQLITE_DENY;
      }
      return SQLITE_OK;
    default:
      return SQLITE_OK;
  }
}

// "no such table: orders.csv": the file becomes a table when it is one of the folder.
bool SqlDatabase::CreateTableFor(const std::string& message) {
  static constexpr std::string_view kNoSuchTable = "no such table: ";
  if (!StartsWith(message, kNoSuchTable)) return false;
  std::string name = message.substr(kNoSuchTable.size());
  if (StartsWith(name, "main.")) name.erase(0, 5);
  if (layouts_.count(AsciiLower(name)) != 0) return false;
  TableLayout layout = ReadTableLayout(source_.folder, name, source_.locale);
  context_.readLayouts[name] = layout;
  context_.failure.reset();
  creating_ = true;
  char* error = nullptr;
  const std::string create = "CREATE VIRTUAL TABLE " + SqlQuoted(name, '"') + " USING quorlin()";
  const int result = sqlite3_exec(db_, create.c_str(), nullptr, nullptr, &error);
  creating_ = false;
  context_.readLayouts.erase(name);
  if (result != SQLITE_OK) {
    const std::string why = error != nullptr ? error : sqlite3_errmsg(db_);
    sqlite3_free(error);
    if (context_.failure) {
      const SqlError failure = *context_.failure;
      context_.failure.reset();
      throw failure;
    }
    throw SqlError(state::kGeneralError, why);
  }
  layouts_.emplace(AsciiLower(name), std::move(layout));
  return true;
}

void SqlDatabase::RaisePrepareFailure(const std::string& message) {
  if (!refusal_.empty()) throw SqlError(state::kSyntax, refusal_);
  // SQLite refuses a change to a table without xUpdate before it asks the authorizer.
  if (message.ends_with("may not be modified")) throw SqlError(state::kSyntax, kOnlyReading);
  if (StartsWith(message, "no such column: ")) throw SqlError(state::kColumnNotFound, message);
  if (StartsWith(message, "no such table: ")) throw SqlError(state::kTableNotFound, message);
  throw SqlError(state::kSyntax, message);
}

// The layouts a connection read stay while the folder's Schema.INI stays as it was; after a
// change, the tables are made anew from the new layouts as soon as no statement is running.
void SqlDatabase::ForgetChangedLayouts() {
  const std::string stamp = SchemaStamp();
  if (stamp == schemaStamp_ || layouts_.empty()) {
    schemaStamp_ = stamp;
    return;
  }
  for (sqlite3_stmt* running = sqlite3_next_stmt(db_, nullptr); running != nullptr;
       running = sqlite3_next_stmt(db_, running)) {
    if (sqlite3_stmt_busy(running)) return;
  }
  creating_ = true;
  for (const auto& [name, layout] : layouts_) {
    const std::string drop = "DROP TABLE IF EXISTS " + SqlQuoted(name, '"');
    sqlite3_exec(db_, drop.c_str(), nullptr, nullptr, nullptr);
  }
  creating_ = false;
  layouts_.clear();
  ++layoutsGeneration_;
  schemaStamp_ = stamp;
}

std::string SqlDatabase::SchemaStamp() const {
  struct stat info {};
  if (::stat(SchemaFilePath(source_.folder).c_str(), &info) != 0) return "none";
  return std::to_string(info.st_ino) + ":" + std::to_string(info.st_size) + ":" + std::to_string(info.st_mtim.tv_sec) +
         "." + std::to_string(info.st_mtim.tv_nsec);
}

PreparedQuery SqlDatabase::Prepare(std::string_view sql) {
  ForgetChangedLayouts();
  const std::string text = SqliteStatement(sql, [this](const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(FindInFolderNoCase(source_.folder, name), error);
  });
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  for (;;) {
    refusal_.clear();
    const int result = sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &raw, &tail);
    if (result == SQLITE_OK) break;
    const std::string message = sqlite3_errmsg(db_);
    if (refusal_.empty() && CreateTableFor(message)) continue;
    RaisePrepareFailure(message);
  }
  PreparedQuery query;
  query.statement.reset(raw, sqlite3_finalize);
  if (raw == nullptr) throw SqlError(state::kSyntax, "The statement is empty");
  sqlite3_stmt* more = nullptr;
  const int rest = sqlite3_prepare_v2(db_, tail, -1, &more, nullptr);
  sqlite3_finalize(more);
  if (rest != SQLITE_OK || more != nullptr) {
    throw SqlError(state::kSyntax, "Only one statement at a time is run: the text after the first ';' is more");
  }
  if (!sqlite3_stmt_readonly(raw)) throw SqlError(state::kSyntax, kOnlyReading);
  query.columns = Describe(raw, query.typedByValue);
  query.scan = FindPlainScan(db_, raw, layouts_);
  query.layoutsGeneration = layoutsGeneration_;
  return query;
}

std::vector<ResultColumn> SqlDatabase::Describe(sqlite3_stmt* statement, std::vector<bool>& typedByValue) const {
  std::vector<ResultColumn> columns;
  const int count = sqlite3_column_count(statement);
  for (int k = 0; k < count; ++k) {
    ResultColumn column;
    const char* name = sqlite3_column_name(statement, k);
    column.name = name != nullptr ? name : "";
    const char* table = sqlite3_column_table_name(statement, k);
    const auto found = table != nullptr ? layouts_.find(AsciiLower(table)) : layouts_.end();
    const ColumnDef* field =
        found != layouts_.end() ? ColumnNamed(found->second, sqlite3_column_origin_name(statement, k)) : nullptr;
    if (field != nullptr) {
      column.kind = field->kind;
      column.textSize = field->textSize;
      column.tableName = found->second.tableName;
    }
    typedByValue.push_back(field == nullptr);
    columns.push_back(std::move(column));
  }
  return columns;
}

bool SqlDatabase::Step(sqlite3_stmt* statement) {
  context_.failure.reset();
  const int result = sqlite3_step(statement);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  if (context_.failure) {
    const SqlError failure = *context_.failure;
    context_.failure.reset();
    throw failure;
  }
  throw SqlError(state::kGeneralError, sqlite3_errmsg(db_));
}

std::unique_ptr<ResultSet> SqlDatabase::Rows(const PreparedQuery& query) {
  if (query.scan && query.layoutsGeneration == layoutsGeneration_) {
    return std::make_unique<ScanRows>(*query.scan, query.columns);
  }
  return std::make_unique<SqlRows>(*this, query);
}

SqlRows::SqlRows(SqlDatabase& database, const PreparedQuery& query)
    : database_(database), statement_(query.statement), columns_(query.columns) {
  sqlite3_reset(statement_.get());
  const bool first = ReadFirst();
  for (std::size_t k = 0; k < columns_.size() && first; ++k) {
    if (query.typedByValue[k]) columns_[k].kind = KindOfValue(sqlite3_column_type(statement_.get(), static_cast<int>(k)));
  }
}

SqlRows::~SqlRows() { sqlite3_reset(statement_.get()); }

bool SqlRows::ReadRow() { return database_.Step(statement_.get()); }

const CellValue& SqlRows::Value(std::size_t column) const {
  value_ = ReadValue(column);
  return value_;
}

CellValue SqlRows::ReadValue(std::size_t column) const {
  sqlite3_stmt* statement = statement_.get();
  const int k = static_cast<int>(column);
  const int type = sqlite3_column_type(statement, k);
  CellValue value;
  switch (type) {
    case SQLITE_NULL:
      return CellValue::Null();
    case SQLITE_INTEGER:
      value = CellValue::Of(static_cast<std::int64_t>(sqlite3_column_int64(statement, k)));
      if (columns_[column].kind == ColumnKind::Bit) value.kind = CellValue::Kind::Bit;
      return value;
    case SQLITE_FLOAT:
      value.kind = CellValue::Kind::Double;
      value.real = sqlite3_column_double(statement, k);
      return value;
    default:
      break;
  }
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, k));
  const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, k));
  return ValueOfStoredText(std::string_view(bytes != nullptr ? bytes : "", size), columns_[column].kind);
}

}  // namespace quorlin::driver
