// Rows straight from a table file, typed as the virtual table hands them to the engine and the
// engine hands them back.
#include "odbc/driver/scan_rows.h"

#include <cmath>

namespace quorlin::driver {

namespace {

// Enough rows that handing a batch over costs nothing beside reading it, few enough that the
// batches on their way stay in the processor's cache.
constexpr std::size_t kBatchRows = 512;
constexpr std::size_t kBatchBytes = 64 * 1024;
// The longest character form of a value that is not a text: a double's shortest exact form,
// a 64-bit integer, a timestamp with milliseconds.
constexpr std::size_t kMaxFormBytes = 32;

// Makes `value` what comes back out of the engine for a value the table hands it: the engine
// holds integers and bits alike, has no NaN, and holds dates and times as their ISO text.
void AsTheEngineGivesIt(CellValue& value, ColumnKind kind, std::string& dateText) {
  switch (value.kind) {
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit:
      value.kind = kind == ColumnKind::Bit ? CellValue::Kind::Bit : CellValue::Kind::Integer;
      return;
    case CellValue::Kind::Double:
      if (std::isnan(value.real)) value = CellValue::Null();
      return;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
      value = AsStoredDateTime(value, kind, dateText);
      return;
    case CellValue::Kind::Null:
    case CellValue::Kind::Text:
      return;
  }
}

// `bytes` copied to the end of `batch`, whose room was made beforehand.
std::string_view Keep(std::string_view bytes, std::string& batch) {
  const std::size_t at = batch.size();
  batch.append(bytes);
  return std::string_view(batch).substr(at, bytes.size());
}

}  // namespace

ScanRows::ScanRows(const PlainScan& scan, std::vector<ResultColumn> columns)
    : layout_(scan.layout),
      fields_(scan.fields),
      columns_(std::move(columns)),
      records_(std::make_unique<TableCursor>(layout_)),
      dateTexts_(fields_.size()),
      batches_([this](Batch& batch) { return Fill(batch); }, nullptr,
               OrderedBatches<Batch>::Processing::HelperOnly, 2) {
  ReadFirst();
}

bool ScanRows::Convert(std::vector<CellValue>& values) {
  if (!records_->Next()) return false;
  for (std::size_t k = 0; k < fields_.size(); ++k) {
    const std::size_t field = fields_[k];
    CellValue& value = values.emplace_back(records_->Value(field));
    AsTheEngineGivesIt(value, layout_.columns[field].kind, dateTexts_[k]);
  }
  return true;
}

bool ScanRows::Fill(Batch& batch) {
  batch.values.clear();
  batch.bytes.clear();
  batch.rows = 0;
  const std::size_t width = fields_.size();
  // The record that did not fit the batch before comes first.
  batch.values.swap(carried_);
  carried_.clear();
  while (batch.rows < kBatchRows) {
    if (batch.values.size() == batch.rows * width && !Convert(batch.values)) return false;
    const auto row = batch.values.end() - static_cast<std::ptrdiff_t>(width);
    std::size_t room = 0;
    for (auto value = row; value != batch.values.end(); ++value) {
      room += value->kind == CellValue::Kind::Text ? value->text.size() : kMaxFormBytes;
    }
    // The views handed out point into `bytes`, so it must not move while the batch fills: a
    // record that does not fit waits for the next batch, one alone gets the room it needs.
    if (batch.bytes.size() + room > batch.bytes.capacity()) {
      if (batch.rows > 0) {
        carried_.assign(row, batch.values.end());
        batch.values.erase(row, batch.values.end());
        return true;
      }
      batch.bytes.reserve(std::max(kBatchBytes, room));
    }
    for (auto value = row; value != batch.values.end(); ++value) {
      if (value->kind == CellValue::Kind::Text) {
        value->text = Keep(value->text, batch.bytes);
      } else if (value->kind != CellValue::Kind::Null) {
        const std::size_t at = batch.bytes.size();
        AppendCharacterForm(*value, batch.bytes);
        value->form = std::string_view(batch.bytes).substr(at);
      }
    }
    ++batch.rows;
  }
  return true;
}

bool ScanRows::ReadRow() {
  while (batch_ == nullptr || nextRow_ == batch_->rows) {
    batch_ = batches_.Next();
    nextRow_ = 0;
    heldRow_ = nullptr;
    if (batch_ == nullptr) return false;
  }
  heldRow_ = batch_->values.data() + nextRow_++ * fields_.size();
  return true;
}

}  // namespace quorlin::driver
