// Reading a table file record by record through the program's line reader and splitter.
#include "odbc/driver/table_cursor.h"

#include <filesystem>

#include "odbc/driver/sql_error.h"
#include "platform/file_error.h"
#include "platform/view_within.h"
#include "text/fixed_fields.h"
#include "text/preview_loader.h"
#include "text/record_splitter.h"
#include "text/record_reader.h"
#include "text/text_decoder.h"

namespace quorlin::driver {

namespace {

// The layout's file as it stands now: where its name leads must still be a file of its folder,
// and that very name, not a link swapped in afterwards, is what gets opened.
std::unique_ptr<TextRecordReader> OpenTableFile(const TableLayout& layout) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path real = fs::canonical(layout.path, error);
  const fs::path realFolder = fs::canonical(fs::path(layout.path).parent_path(), error);
  if (error || real.parent_path() != realFolder) {
    throw SqlError(state::kTableNotFound, "Table '" + layout.tableName + "' leads out of the data source's folder");
  }
  try {
    return std::make_unique<TextRecordReader>(
        real.string(), layout.characterSet, layout.fixed ? RecordForm::FixedLength : RecordForm::Delimited,
        layout.separator, layout.qualifier, TextLineReader::kDefaultBufferSize, TextLineReader::LastLink::Refuse);
  } catch (const FileError& failure) {
    throw SqlError(state::kGeneralError, failure.what());
  }
}

// A field's conversion, run where a vector builds its new element: the converted value is then
// made in its place in the vector, not made aside and copied there.
struct FieldConversion {
  std::string_view field;
  const ColumnDef& def;
  operator CellValue() const { return ConvertField(field, def.kind, def.locale); }
};

}  // namespace

SqlError RecordTooLong(const std::string& path, long long line) {
  return SqlError(state::kGeneralError, "Line " + std::to_string(line) + " of " + path + " is longer than " +
                                            std::to_string(kMaxRecordBytes >> 20) + " MiB, more than one record can be");
}

TableCursor::TableCursor(const TableLayout& layout)
    : layout_(layout), reader_(OpenTableFile(layout)), unit_(FixedUnitOf(reader_->Lines().Decoded())) {
  reader_->LimitLineLength(kMaxRecordBytes);
  if (layout_.headerRow) ReadRecord();
}

TableCursor::~TableCursor() = default;

bool TableCursor::ReadRecord() {
  try {
    if (!reader_->ReadRecord(record_)) return false;
  } catch (const FileError& error) {
    throw SqlError(state::kGeneralError, error.what());
  }
  line_number_ = reader_->FirstLine();
  if (reader_->LastRecordCut()) throw RecordTooLong(layout_.path, line_number_);
  return true;
}

bool TableCursor::Next() {
  if (!ReadRecord()) return false;
  ++row_;
  cut_ = false;
  return true;
}

void TableCursor::Cut() {
  cut_ = true;
  if (layout_.fixed) {
    CutFixedFields(record_, layout_.widths, [](std::size_t width) { return width; }, fields_, unit_);
    if (reader_->Lines().ValuesNeedChecking()) ReplaceInvalidUtf8(fields_, unescaped_);
    // Fixed fields are padded with blanks to their width.
    for (std::string_view& field : fields_) field = Trim(field);
    return;
  }
  const std::string_view qualifier = reader_->Qualifier();
  SplitRecordViews(record_, reader_->Separator(), qualifier, fields_, unescaped_, layout_.columns.size());
  // Most records hold no qualifier at all, and then no field can still begin with one.
  if (!qualifier.empty() && record_.find(qualifier.front()) != std::string_view::npos) {
    StripLeftQualifiers(fields_, record_, qualifier);
  }
}

std::size_t TableCursor::CutBytes() {
  if (!cut_) Cut();
  return record_.size() + unescaped_.size();
}

void TableCursor::KeepFieldsIn(std::string& bytes) {
  if (!cut_) Cut();
  const std::size_t at = bytes.size();
  bytes.append(record_).append(unescaped_);
  const char* const record = bytes.data() + at;
  const char* const unescaped = record + record_.size();
  // Every field that holds a byte is cut from one of the two; mostly nothing was unescaped.
  const bool fromRecord = unescaped_.empty();
  for (std::string_view& field : fields_) {
    if (field.empty()) {
      field = {};
    } else if (fromRecord || LiesWithin(field, record_)) {
      field = std::string_view(record + (field.data() - record_.data()), field.size());
    } else {
      field = std::string_view(unescaped + (field.data() - unescaped_.data()), field.size());
    }
  }
  record_ = std::string_view(record, record_.size());
}

std::string_view TableCursor::Field(std::size_t column) {
  if (!cut_) Cut();
  return CutField(column);
}

SqlError TableCursor::InColumn(const SqlError& error, std::size_t column) const {
  return SqlError(error.SqlState(), "Row " + std::to_string(row_) + " (line " + std::to_string(line_number_) + " of " +
                                        layout_.tableName + "), column " + layout_.columns[column].name + ": " +
                                        error.what());
}

CellValue TableCursor::Value(std::size_t column) {
  const ColumnDef& def = layout_.columns[column];
  try {
    return ConvertField(Field(column), def.kind, def.locale);
  } catch (const SqlError& error) {
    throw InColumn(error, column);
  }
}

void TableCursor::AppendValues(const std::vector<std::size_t>& columns, std::vector<CellValue>& values) {
  if (!cut_) Cut();
  std::size_t column = 0;
  try {
    for (const std::size_t field : columns) {
      column = field;
      values.emplace_back(FieldConversion{CutField(field), layout_.columns[field]});
    }
  } catch (const SqlError& error) {
    throw InColumn(error, column);
  }
}

}  // namespace quorlin::driver
