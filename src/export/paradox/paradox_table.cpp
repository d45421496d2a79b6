#include "export/paradox/paradox_table.h"

#include <cstdlib>
#include <cstring>

// pxlib's header declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

namespace quorlin {

namespace {

// pxlib counts days from the start of the proleptic Gregorian calendar.
constexpr long kDayNumberBase = 1721425;
constexpr double kMillisecondsPerDay = 86400000.0;

struct TypeInfo {
  char pxType;
  int size;
};

TypeInfo InfoOf(const ParadoxColumn& column) {
  switch (column.type) {
    case ParadoxType::Alpha: return {pxfAlpha, column.size};
    case ParadoxType::Logical: return {pxfLogical, 1};
    case ParadoxType::Short: return {pxfShort, 2};
    case ParadoxType::Long: return {pxfLong, 4};
    case ParadoxType::Number: return {pxfNumber, 8};
    case ParadoxType::Currency: return {pxfCurrency, 8};
    case ParadoxType::Date: return {pxfDate, 4};
    case ParadoxType::Time: return {pxfTime, 4};
    case ParadoxType::Timestamp: return {pxfTimestamp, 8};
  }
  return {pxfAlpha, column.size};
}

void HandleError(pxdoc_t*, int type, const char* message, void* table) {
  if (type != PX_Warning) static_cast<ParadoxTable*>(table)->NoteError(message);
}

char* CopyForPxlib(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

int ParadoxTable::RecordSize(const std::vector<ParadoxColumn>& columns) {
  int size = 0;
  for (const ParadoxColumn& column : columns) size += InfoOf(column).size;
  return size;
}

ParadoxTable::ParadoxTable(std::FILE* file, const std::vector<ParadoxColumn>& columns,
                           const std::string& tableName) {
  doc_ = PX_new3(HandleError, nullptr, nullptr, nullptr, this);
  if (doc_ == nullptr) throw ParadoxError("pxlib could not start");
  try {
    Create(file, columns, tableName);
  } catch (...) {
    PX_delete(doc_);
    throw;
  }
}

void ParadoxTable::Create(std::FILE* file, const std::vector<ParadoxColumn>& columns,
                          const std::string& tableName) {
  // pxlib takes the field array and its names over and frees them with the table.
  auto* fields = static_cast<pxfield_t*>(std::calloc(columns.size() + 1, sizeof(pxfield_t)));
  if (fields == nullptr) Fail("Not enough memory");
  int offset = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const TypeInfo info = InfoOf(columns[i]);
    fields[i].px_fname = CopyForPxlib(columns[i].name);
    fields[i].px_ftype = info.pxType;
    fields[i].px_flen = info.size;
    fields[i].px_fdc = 0;
    offsets_.push_back(offset);
    sizes_.push_back(info.size);
    offset += info.size;
  }
  if (offset > kMaxRecordSize) Fail("A row of " + std::to_string(offset) + " bytes does not fit a block");
  row_.assign(static_cast<std::size_t>(offset), '\0');
  if (PX_create_fp(doc_, fields, static_cast<int>(columns.size()), file,
                   pxfFileTypNonIndexDB) < 0) {
    Fail("The table could not be created");
  }
  if (PX_set_value(doc_, "codepage", kCodePage) < 0 ||
      PX_set_tablename(doc_, tableName.c_str()) < 0) {
    Fail("The table could not be described");
  }
}

ParadoxTable::~ParadoxTable() {
  if (doc_ != nullptr) PX_delete(doc_);
}

void ParadoxTable::Fail(const std::string& what) {
  throw ParadoxError(lastError_.empty() ? what : what + ": " + lastError_);
}

void ParadoxTable::SetAlpha(std::size_t column, std::string_view bytes) {
  char* field = Field(column);
  const std::size_t size = static_cast<std::size_t>(sizes_[column]);
  std::memset(field, 0, size);
  std::memcpy(field, bytes.data(), std::min(size, bytes.size()));
}

void ParadoxTable::SetLogical(std::size_t column, bool value) {
  PX_put_data_byte(doc_, Field(column), 1, value ? 1 : 0);
}

void ParadoxTable::SetShort(std::size_t column, std::int16_t value) {
  PX_put_data_short(doc_, Field(column), 2, value);
}

void ParadoxTable::SetLong(std::size_t column, std::int32_t value) {
  PX_put_data_long(doc_, Field(column), 4, value);
}

void ParadoxTable::SetNumber(std::size_t column, double value) {
  PX_put_data_double(doc_, Field(column), 8, value);
}

void ParadoxTable::SetDate(std::size_t column, int year, int month, int day) {
  PX_put_data_long(doc_, Field(column), 4,
                   static_cast<int>(PX_GregorianToSdn(year, month, day) - kDayNumberBase));
}

void ParadoxTable::SetTime(std::size_t column, std::int32_t millisecondsOfDay) {
  PX_put_data_long(doc_, Field(column), 4, millisecondsOfDay);
}

void ParadoxTable::SetTimestamp(std::size_t column, int year, int month, int day,
                                std::int32_t millisecondsOfDay) {
  const long days = PX_GregorianToSdn(year, month, day) - kDayNumberBase;
  PX_put_data_double(doc_, Field(column), 8,
                     static_cast<double>(days) * kMillisecondsPerDay + millisecondsOfDay);
}

void ParadoxTable::AppendRow() {
  if (doc_ == nullptr) throw ParadoxError("The table is closed");
  if (PX_put_record(doc_, row_.data()) < 0) Fail("The row could not be stored");
  std::fill(row_.begin(), row_.end(), '\0');
}

void ParadoxTable::Close() {
  if (doc_ == nullptr) return;
  PX_close(doc_);
  PX_delete(doc_);
  doc_ = nullptr;
}

}  // namespace quorlin
