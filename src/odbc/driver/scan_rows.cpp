// Rows straight from a table file, typed as the virtual table hands them to the engine and the
// engine hands them back.
#include "odbc/driver/scan_rows.h"

#include <cmath>

namespace quorlin::driver {

namespace {

// What comes back out of the engine for a value the table hands it: the engine holds integers
// and bits alike, has no NaN, and holds dates and times as their ISO text.
CellValue AsTheEngineGivesIt(const CellValue& value, ColumnKind kind, std::string& dateText) {
  switch (value.kind) {
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit: {
      CellValue number = value;
      number.kind = kind == ColumnKind::Bit ? CellValue::Kind::Bit : CellValue::Kind::Integer;
      return number;
    }
    case CellValue::Kind::Double:
      return std::isnan(value.real) ? CellValue::Null() : value;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
      dateText.clear();
      AppendCharacterForm(value, dateText);
      return ValueOfStoredText(dateText, kind);
    case CellValue::Kind::Null:
    case CellValue::Kind::Text:
      break;
  }
  return value;
}

}  // namespace

ScanRows::ScanRows(const PlainScan& scan, std::vector<ResultColumn> columns)
    : layout_(scan.layout),
      fields_(scan.fields),
      columns_(std::move(columns)),
      rows_(std::make_unique<TableCursor>(layout_)),
      values_(fields_.size()),
      dateTexts_(fields_.size()) {
  ReadFirst();
}

bool ScanRows::ReadRow() {
  if (!rows_->Next()) return false;
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const std::size_t field = fields_[k];
    values_[k] = AsTheEngineGivesIt(rows_->Value(field), layout_.columns[field].kind, dateTexts_[k]);
  }
  return true;
}

}  // namespace quorlin::driver
