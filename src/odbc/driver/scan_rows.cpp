// Rows straight from a table file, typed as the virtual table hands them to the engine and the
// engine hands them back.
#include "odbc/driver/scan_rows.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorlin::driver {

namespace {

// Values of a batch, and the room for their bytes: enough that the fetching thread seldom
// waits for the reading one, as each wait costs a sleep and a wake-up, which a batch of a few
// hundred rows does not outweigh; bounded, so that the memory a scan takes stays flat also
// for wide rows.
constexpr std::size_t kBatchValues = 64 * 1024;
constexpr std::size_t kBatchBytes = 1024 * 1024;
// The longest character form of a value that is not a text: a double's shortest exact form,
// a 64-bit integer, a timestamp with milliseconds.
constexpr std::size_t kMaxFormBytes = 32;

// `bytes` copied to the end of `batch`, whose room was made beforehand.
std::string_view Keep(std::string_view bytes, std::string& batch) {
  const std::size_t at = batch.size();
  batch.append(bytes);
  return std::string_view(batch).substr(at, bytes.size());
}

// Makes `value`, of a column of `kind`, what comes back out of the engine, with the bytes it
// hands out as text in `batch`, where its field lies already: the engine has no NaN and holds
// dates and times as their ISO text; texts, whole numbers and bits come back as they are
// converted. A bit's form is lasting text already.
void AsTheEngineGivesIt(CellValue& value, ColumnKind kind, std::string& dateText, std::string& batch) {
  switch (value.kind) {
    case CellValue::Kind::Null:
    case CellValue::Kind::Text:
      return;
    case CellValue::Kind::Bit:
      value.form = BitForm(value.integer);
      return;
    case CellValue::Kind::Integer:
      break;
    case CellValue::Kind::Double:
      if (std::isnan(value.real)) {
        value = CellValue::Null();
        return;
      }
      break;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
      AsStoredDateTime(value, kind, dateText);
      // What it hands out now lies in `dateText`, if it does not have to be written.
      if (value.kind == CellValue::Kind::Text) {
        value.text = Keep(value.text, batch);
        return;
      }
      if (!value.form.empty()) value.form = Keep(value.form, batch);
      break;
  }
  if (value.form.empty()) {
    const std::size_t at = batch.size();
    AppendCharacterForm(value, batch);
    value.form = std::string_view(batch).substr(at);
  }
}

std::vector<ColumnKind> KindsOf(const TableLayout& layout, const std::vector<std::size_t>& fields) {
  std::vector<ColumnKind> kinds;
  for (const std::size_t field : fields) kinds.push_back(layout.columns[field].kind);
  return kinds;
}

}  // namespace

ScanRows::ScanRows(const PlainScan& scan, std::vector<ResultColumn> columns)
    : layout_(scan.layout),
      fields_(scan.fields),
      kinds_(KindsOf(layout_, fields_)),
      columns_(std::move(columns)),
      records_(std::make_unique<TableCursor>(layout_)),
      dateTexts_(fields_.size()),
      batches_([this](Batch& batch) { return Fill(batch); }, nullptr,
               OrderedBatches<Batch>::Processing::HelperOnly, 2) {
  ReadFirst();
}

void ScanRows::AddRow(Batch& batch) {
  // The fields are kept as cut, so that the texts and forms among them need no copy each.
  records_->KeepFieldsIn(batch.bytes);
  const std::size_t first = batch.values.size();
  records_->AppendValues(fields_, batch.values);
  for (std::size_t k = 0; k < kinds_.size(); ++k) {
    AsTheEngineGivesIt(batch.values[first + k], kinds_[k], dateTexts_[k], batch.bytes);
    batch.texts.push_back(HandedOutText(batch.values[first + k]));
  }
  ++batch.rows;
}

bool ScanRows::Fill(Batch& batch) {
  batch.values.clear();
  batch.texts.clear();
  batch.bytes.clear();
  batch.rows = 0;
  while (batch.values.size() < kBatchValues) {
    if (!std::exchange(recordWaits_, false) && !records_->Next()) return false;
    // The bytes the fields are cut from, and a form written for every value at most.
    const std::size_t room = records_->CutBytes() + kinds_.size() * kMaxFormBytes;
    // The views handed out point into `bytes`, so it must not move while the batch fills: a
    // record that does not fit waits for the next batch, one alone gets the room it needs.
    if (batch.bytes.size() + room > batch.bytes.capacity()) {
      if (batch.rows > 0) {
        recordWaits_ = true;
        return true;
      }
      batch.bytes.reserve(std::max(kBatchBytes, room));
    }
    AddRow(batch);
  }
  return true;
}

bool ScanRows::ReadRow() {
  while (batch_ == nullptr || nextRow_ == batch_->rows) {
    batch_ = batches_.Next();
    nextRow_ = 0;
    heldRow_ = nullptr;
    heldTexts_ = nullptr;
    if (batch_ == nullptr) return false;
  }
  heldRow_ = batch_->values.data() + nextRow_ * fields_.size();
  heldTexts_ = batch_->texts.data() + nextRow_++ * fields_.size();
  return true;
}

}  // namespace quorlin::driver
