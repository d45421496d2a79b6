// Preparing, running and fetching statements, and describing their columns.
#include "odbc/driver/statement_ops.h"

#include <cstdint>

#include "odbc/driver/output_buffers.h"
#include "odbc/driver/sql_error.h"

namespace quorlin::driver {

namespace {

// Out of line, so that the checks of every SQLGetData stay a few instructions.
[[noreturn, gnu::noinline, gnu::cold]] void NoSuchColumn(const Statement& statement, SQLUSMALLINT column) {
  if (column == 0) throw SqlError(state::kBadColumnNumber, "Bookmark columns are not supported");
  throw SqlError(state::kBadColumnNumber, "Column " + std::to_string(column) + " does not exist: the result has " +
                                              std::to_string(statement.described.size()) + " columns");
}

const ResultColumn& ColumnAt(const Statement& statement, SQLUSMALLINT column) {
  if (column == 0 || column > statement.described.size()) NoSuchColumn(statement, column);
  return statement.described[column - 1];
}

// Where row `row` of the rowset goes for a bound column, by column-wise or row-wise binding.
template <typename T>
T* RowAddress(T* base, std::size_t stride, std::size_t row, const SQLLEN* offset) {
  if (base == nullptr) return nullptr;
  auto* address = reinterpret_cast<std::uint8_t*>(base) + stride * row + (offset != nullptr ? *offset : 0);
  return reinterpret_cast<T*>(address);
}

// Writes the bound columns of the cursor's row into rowset row `row`.
SQLRETURN WriteBoundRow(Statement& statement, std::size_t row) {
  SQLRETURN result = SQL_SUCCESS;
  const bool rowWise = statement.rowBindType != SQL_BIND_BY_COLUMN;
  for (std::size_t k = 0; k < statement.bindings.size() && k < statement.described.size(); ++k) {
    const ColumnBinding& binding = statement.bindings[k];
    if (binding.target == nullptr && binding.indicator == nullptr) continue;
    const ColumnKind kind = statement.described[k].kind;
    const SQLSMALLINT targetType =
        binding.targetType == SQL_C_DEFAULT ? TypeInfoOf(kind).defaultCType : binding.targetType;
    const std::size_t fixedSize = FixedSizeOf(targetType);
    const std::size_t valueStride =
        rowWise ? statement.rowBindType : fixedSize != 0 ? fixedSize : static_cast<std::size_t>(binding.bufferLength);
    const std::size_t indicatorStride = rowWise ? statement.rowBindType : sizeof(SQLLEN);
    SQLPOINTER target = RowAddress(static_cast<std::uint8_t*>(binding.target), valueStride, row, statement.rowBindOffset);
    SQLLEN* indicator = RowAddress(binding.indicator, indicatorStride, row, statement.rowBindOffset);
    const CellValue value = statement.cursor->Value(k);
    statement.boundPiece.Start(static_cast<SQLUSMALLINT>(k + 1));
    const SQLRETURN written = WriteValue(value, kind, targetType, target, binding.bufferLength, indicator,
                                         statement.boundPiece, statement.diagnostics);
    if (written == SQL_SUCCESS_WITH_INFO) result = SQL_SUCCESS_WITH_INFO;
  }
  return result;
}

void ExpectCursor(const Statement& statement) {
  if (!statement.cursor) throw SqlError(state::kInvalidCursorState, "No cursor is open: run a query first");
}

SQLRETURN Changed(Statement& statement, const char* attribute, const char* kept) {
  statement.diagnostics.Add(state::kOptionChanged, std::string("Option value changed: ") + attribute + " stays " + kept);
  return SQL_SUCCESS_WITH_INFO;
}

[[noreturn]] void NotImplemented(const std::string& what) {
  throw SqlError(state::kNotImplemented, "Optional feature not implemented: " + what);
}

[[noreturn, gnu::noinline, gnu::cold]] void CannotGetData(const Statement& statement) {
  ExpectCursor(statement);
  if (!statement.onRow) throw SqlError(state::kInvalidCursorState, "No row to read: fetch a row first");
  NotImplemented("SQLGetData with a rowset of more than one row");
}

[[noreturn, gnu::noinline, gnu::cold]] void UnknownTargetType(SQLSMALLINT targetType) {
  throw SqlError(state::kRestrictedType, "The C type " + std::to_string(targetType) + " is not supported");
}

SQLULEN AsULen(SQLPOINTER value) { return reinterpret_cast<SQLULEN>(value); }

}  // namespace

void Prepare(Statement& statement, std::string_view sql) {
  statement.CloseCursor();
  statement.prepared.reset();
  statement.described.clear();
  Connection& connection = *statement.connection;
  if (!connection.database) connection.database = std::make_unique<SqlDatabase>(connection.source);
  statement.prepared = connection.database->Prepare(sql);
  statement.described = statement.prepared->columns;
}

void Execute(Statement& statement) {
  if (!statement.prepared) throw SqlError(state::kSequenceError, "Function sequence error: no query was prepared");
  statement.CloseCursor();
  statement.cursor = statement.connection->database->Rows(*statement.prepared);
  statement.described = statement.cursor->Columns();
}

void OpenRows(Statement& statement, std::unique_ptr<ResultSet> rows) {
  statement.CloseCursor();
  statement.prepared.reset();
  statement.described = rows->Columns();
  statement.cursor = std::move(rows);
}

SQLRETURN FetchRowset(Statement& statement) {
  ExpectCursor(statement);
  statement.piece.Start(0);
  statement.onRow = false;
  const std::size_t size = statement.rowArraySize;
  std::size_t fetched = 0;
  SQLRETURN result = SQL_SUCCESS;
  for (std::size_t row = 0; row < size; ++row) {
    if (statement.maxRows != 0 && static_cast<SQLULEN>(statement.rowsFetched) >= statement.maxRows) break;
    SQLUSMALLINT status = SQL_ROW_SUCCESS;
    try {
      if (!statement.cursor->Next()) break;
      ++statement.rowsFetched;
      if (WriteBoundRow(statement, row) == SQL_SUCCESS_WITH_INFO) {
        status = SQL_ROW_SUCCESS_WITH_INFO;
        result = SQL_SUCCESS_WITH_INFO;
      }
    } catch (const SqlError& error) {
      // One row of one: the fetch fails. In a larger rowset the row is marked and the others stay.
      if (size == 1) throw;
      statement.diagnostics.Add(error.SqlState(), error.what(), static_cast<SQLLEN>(row + 1));
      status = SQL_ROW_ERROR;
      result = SQL_SUCCESS_WITH_INFO;
    }
    if (statement.rowStatusPointer != nullptr) statement.rowStatusPointer[row] = status;
    ++fetched;
  }
  if (statement.rowStatusPointer != nullptr) {
    for (std::size_t row = fetched; row < size; ++row) statement.rowStatusPointer[row] = SQL_ROW_NOROW;
  }
  if (statement.rowsFetchedPointer != nullptr) *statement.rowsFetchedPointer = fetched;
  if (fetched == 0) return SQL_NO_DATA;
  statement.onRow = true;
  return result;
}

SQLRETURN GetData(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                  SQLLEN bufferLength, SQLLEN* indicator) {
  if (!statement.onRow || statement.rowArraySize > 1) CannotGetData(statement);
  const ResultColumn& described = ColumnAt(statement, column);
  if (targetType != SQL_C_CHAR && !IsKnownTargetType(targetType)) UnknownTargetType(targetType);
  PieceState& piece = statement.piece;
  if (piece.column != column) piece.Start(column);
  if (piece.delivered) return SQL_NO_DATA;
  static const CellValue kHandedOut;  // a value in pieces is in `piece` once started
  const CellValue& value = piece.started ? kHandedOut : statement.cursor->Value(column - 1);
  return WriteValue(value, described.kind, targetType, target, bufferLength, indicator, piece, statement.diagnostics);
}

void BindColumn(Statement& statement, SQLUSMALLINT column, SQLSMALLINT targetType, SQLPOINTER target,
                SQLLEN bufferLength, SQLLEN* indicator) {
  if (column == 0) throw SqlError(state::kBadColumnNumber, "Bookmark columns are not supported");
  if (target == nullptr && indicator == nullptr) {
    if (column <= statement.bindings.size()) statement.bindings[column - 1] = ColumnBinding{};
    return;
  }
  if (!IsKnownTargetType(targetType)) {
    throw SqlError("HY003", "The C type " + std::to_string(targetType) + " is not supported");
  }
  if (bufferLength < 0) throw SqlError(state::kBadBufferLength, "The buffer length is negative");
  if (column > statement.bindings.size()) statement.bindings.resize(column);
  statement.bindings[column - 1] = {targetType, target, bufferLength, indicator};
}

SQLRETURN DescribeColumn(const Statement& statement, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT bufferLength,
                         SQLSMALLINT* nameLength, SQLSMALLINT* dataType, SQLULEN* columnSize,
                         SQLSMALLINT* decimalDigits, SQLSMALLINT* nullable) {
  if (statement.described.empty()) throw SqlError("07005", "The statement has no result columns");
  const ResultColumn& described = ColumnAt(statement, column);
  const SqlTypeInfo type = TypeInfoOf(described.kind, described.textSize);
  Store(dataType, SqlTypeFor(described.kind, statement.connection->Odbc3()));
  Store(columnSize, type.columnSize);
  Store(decimalDigits, type.decimalDigits);
  Store(nullable, static_cast<SQLSMALLINT>(described.nullable ? SQL_NULLABLE : SQL_NO_NULLS));
  if (CopyString(described.name, name, bufferLength, nameLength)) {
    const_cast<Statement&>(statement).diagnostics.Add(state::kTruncated, "String data, right truncated");
    return SQL_SUCCESS_WITH_INFO;
  }
  return SQL_SUCCESS;
}

SQLRETURN ColumnAttribute(const Statement& statement, SQLUSMALLINT column, SQLUSMALLINT field,
                          SQLPOINTER characterAttribute, SQLSMALLINT bufferLength, SQLSMALLINT* stringLength,
                          SQLLEN* numericAttribute) {
  if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
    Store(numericAttribute, static_cast<SQLLEN>(statement.described.size()));
    return SQL_SUCCESS;
  }
  const ResultColumn& described = ColumnAt(statement, column);
  const SqlTypeInfo type = TypeInfoOf(described.kind, described.textSize);
  const bool text = described.kind == ColumnKind::Text || described.kind == ColumnKind::LongText;
  const auto number = [&](SQLLEN value) {
    Store(numericAttribute, value);
    return SQL_SUCCESS;
  };
  const auto string = [&](std::string_view value) {
    if (CopyString(value, characterAttribute, bufferLength, stringLength)) {
      const_cast<Statement&>(statement).diagnostics.Add(state::kTruncated, "String data, right truncated");
      return SQL_SUCCESS_WITH_INFO;
    }
    return SQL_SUCCESS;
  };
  switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME:
      return string(described.name);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
      return string(described.tableName);
    case SQL_DESC_CATALOG_NAME:
    case SQL_DESC_SCHEMA_NAME:
      return string("");
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
      return string(type.typeName);
    case SQL_DESC_LITERAL_PREFIX:
      return string(type.literalPrefix != nullptr ? type.literalPrefix : "");
    case SQL_DESC_LITERAL_SUFFIX:
      return string(type.literalSuffix != nullptr ? type.literalSuffix : "");
    case SQL_DESC_CONCISE_TYPE:
      return number(SqlTypeFor(described.kind, statement.connection->Odbc3()));
    case SQL_DESC_TYPE:
      return number(type.verboseType);
    case SQL_DESC_DATETIME_INTERVAL_CODE:
      return number(type.datetimeSub);
    case SQL_DESC_LENGTH:
    case SQL_COLUMN_PRECISION:
      return number(static_cast<SQLLEN>(type.columnSize));
    case SQL_COLUMN_LENGTH:
    case SQL_DESC_OCTET_LENGTH:
      return number(type.octetLength);
    case SQL_DESC_PRECISION:
      return number(type.verboseType == SQL_DATETIME ? type.decimalDigits : static_cast<SQLLEN>(type.columnSize));
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
      return number(type.decimalDigits);
    case SQL_DESC_DISPLAY_SIZE:
      return number(type.displaySize);
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
      return number(described.nullable ? SQL_NULLABLE : SQL_NO_NULLS);
    case SQL_DESC_UNSIGNED:
      return number(type.isUnsigned || type.numPrecRadix == 0 ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
      return number(SQL_FALSE);
    case SQL_DESC_CASE_SENSITIVE:
      return number(text ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_SEARCHABLE:
      return number(SQL_PRED_BASIC);
    case SQL_DESC_UPDATABLE:
      return number(SQL_ATTR_READONLY);
    case SQL_DESC_NUM_PREC_RADIX:
      return number(type.numPrecRadix);
    case SQL_DESC_UNNAMED:
      return number(SQL_NAMED);
    default:
      throw SqlError(state::kBadDescriptorField, "Column attribute " + std::to_string(field) + " is not known");
  }
}

SQLRETURN SetStatementAttribute(Statement& statement, SQLINTEGER attribute, SQLPOINTER value) {
  const SQLULEN number = AsULen(value);
  switch (attribute) {
    case SQL_ATTR_CURSOR_TYPE:
      return number == SQL_CURSOR_FORWARD_ONLY ? SQL_SUCCESS : Changed(statement, "the cursor type", "forward only");
    case SQL_ATTR_CONCURRENCY:
      return number == SQL_CONCUR_READ_ONLY ? SQL_SUCCESS : Changed(statement, "the concurrency", "read only");
    case SQL_ATTR_CURSOR_SENSITIVITY:
      return number == SQL_INSENSITIVE || number == SQL_UNSPECIFIED ? SQL_SUCCESS
                                                                    : Changed(statement, "the sensitivity", "insensitive");
    case SQL_ATTR_CURSOR_SCROLLABLE:
      if (number != SQL_NONSCROLLABLE) NotImplemented("scrollable cursors");
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
      if (number == 0) throw SqlError("HY024", "The rowset size must be at least 1");
      statement.rowArraySize = number;
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE:
      statement.rowBindType = number;
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
      statement.rowBindOffset = static_cast<SQLLEN*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_ROWS_FETCHED_PTR:
      statement.rowsFetchedPointer = static_cast<SQLULEN*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR:
      statement.rowStatusPointer = static_cast<SQLUSMALLINT*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS:
      statement.maxRows = number;
      return SQL_SUCCESS;
    case SQL_ATTR_QUERY_TIMEOUT:
      statement.queryTimeout = number;
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH:
      statement.maxLength = number;
      return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
      statement.noScan = number;
      return SQL_SUCCESS;
    case SQL_ATTR_RETRIEVE_DATA:
      statement.retrieveData = number;
      return SQL_SUCCESS;
    case SQL_ATTR_USE_BOOKMARKS:
      if (number != SQL_UB_OFF) NotImplemented("bookmarks");
      return SQL_SUCCESS;
    case SQL_ATTR_ASYNC_ENABLE:
      if (number != SQL_ASYNC_ENABLE_OFF) NotImplemented("asynchronous execution");
      return SQL_SUCCESS;
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
      if (number != SQL_FALSE) NotImplemented("attribute " + std::to_string(attribute) + " switched on");
      return SQL_SUCCESS;
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_KEYSET_SIZE:
    case SQL_ATTR_PARAMSET_SIZE:
    case SQL_ATTR_PARAM_BIND_TYPE:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR:
      // Queries take no parameters and rows are never changed, so these have nothing to act on.
      return SQL_SUCCESS;
    default:
      throw SqlError(state::kBadAttribute, "Statement attribute " + std::to_string(attribute) + " is not known");
  }
}

SQLRETURN GetStatementAttribute(const Statement& statement, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER, SQLINTEGER* stringLength) {
  const auto number = [&](SQLULEN result) {
    Store(value, result);
    Store(stringLength, static_cast<SQLINTEGER>(sizeof(SQLULEN)));
    return SQL_SUCCESS;
  };
  const auto pointer = [&](const void* result) {
    Store(value, const_cast<void*>(result));
    Store(stringLength, static_cast<SQLINTEGER>(sizeof(void*)));
    return SQL_SUCCESS;
  };
  switch (attribute) {
    case SQL_ATTR_CURSOR_TYPE:
      return number(SQL_CURSOR_FORWARD_ONLY);
    case SQL_ATTR_CONCURRENCY:
      return number(SQL_CONCUR_READ_ONLY);
    case SQL_ATTR_CURSOR_SENSITIVITY:
      return number(SQL_INSENSITIVE);
    case SQL_ATTR_CURSOR_SCROLLABLE:
      return number(SQL_NONSCROLLABLE);
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
      return number(statement.rowArraySize);
    case SQL_ATTR_ROW_BIND_TYPE:
      return number(statement.rowBindType);
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
      return pointer(statement.rowBindOffset);
    case SQL_ATTR_ROWS_FETCHED_PTR:
      return pointer(statement.rowsFetchedPointer);
    case SQL_ATTR_ROW_STATUS_PTR:
      return pointer(statement.rowStatusPointer);
    case SQL_ATTR_MAX_ROWS:
      return number(statement.maxRows);
    case SQL_ATTR_QUERY_TIMEOUT:
      return number(statement.queryTimeout);
    case SQL_ATTR_MAX_LENGTH:
      return number(statement.maxLength);
    case SQL_ATTR_NOSCAN:
      return number(statement.noScan);
    case SQL_ATTR_RETRIEVE_DATA:
      return number(statement.retrieveData);
    case SQL_ATTR_USE_BOOKMARKS:
      return number(SQL_UB_OFF);
    case SQL_ATTR_ASYNC_ENABLE:
      return number(SQL_ASYNC_ENABLE_OFF);
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
      return number(SQL_FALSE);
    case SQL_ATTR_ROW_NUMBER:
      if (!statement.onRow) throw SqlError(state::kInvalidCursorState, "No row to number: fetch a row first");
      return number(static_cast<SQLULEN>(statement.rowsFetched));
    case SQL_ATTR_KEYSET_SIZE:
      return number(0);
    case SQL_ATTR_PARAMSET_SIZE:
      return number(1);
    default:
      throw SqlError(state::kBadAttribute, "Statement attribute " + std::to_string(attribute) + " is not available");
  }
}

}  // namespace quorlin::driver
