// Rows straight from a table file, typed as the virtual table hands them to the engine and the
// engine hands them back.
#include "odbc/driver/scan_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quorlin::driver {

namespace {

// Enough rows that handing a batch over costs nothing beside reading it, few enough that the
// batches on their way stay in the processor's cache.
constexpr std::size_t kBatchRows = 512;
constexpr std::size_t kBatchBytes = 64 * 1024;
// The longest character form of a value that is not a text: a double's shortest exact form,
// a 64-bit integer, a timestamp with milliseconds.
constexpr std::size_t kMaxFormBytes = 32;

// Whether a value of a column of `kind` can come back out of the engine otherwise than the
// table hands it: the engine has no NaN and holds dates and times as their ISO text. Texts,
// whole numbers and bits come back as they are converted.
bool EngineChanges(ColumnKind kind) {
  return kind == ColumnKind::Double || kind == ColumnKind::Date || kind == ColumnKind::Time ||
         kind == ColumnKind::Timestamp;
}

// The places among `fields` of the layout's columns whose values the engine changes.
std::vector<std::size_t> EngineChangedFields(const TableLayout& layout, const std::vector<std::size_t>& fields) {
  std::vector<std::size_t> changed;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (EngineChanges(layout.columns[fields[k]].kind)) changed.push_back(k);
  }
  return changed;
}

// Makes `value`, of a column of `kind` the engine changes, what comes back out of the engine.
void AsTheEngineGivesIt(CellValue& value, ColumnKind kind, std::string& dateText) {
  switch (value.kind) {
    case CellValue::Kind::Double:
      if (std::isnan(value.real)) value = CellValue::Null();
      return;
    case CellValue::Kind::Date:
    case CellValue::Kind::Time:
    case CellValue::Kind::Timestamp:
      AsStoredDateTime(value, kind, dateText);
      return;
    case CellValue::Kind::Null:
    case CellValue::Kind::Text:
    case CellValue::Kind::Integer:
    case CellValue::Kind::Bit:
      return;
  }
}

// Whether `part` lies within `whole`; compared as addresses, as they may be of different blocks.
bool Within(std::string_view part, std::string_view whole) {
  const auto start = reinterpret_cast<std::uintptr_t>(part.data());
  const auto wholeStart = reinterpret_cast<std::uintptr_t>(whole.data());
  return start >= wholeStart && start + part.size() <= wholeStart + whole.size();
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
      engineChanged_(EngineChangedFields(layout_, fields_)),
      columns_(std::move(columns)),
      records_(std::make_unique<TableCursor>(layout_)),
      dateTexts_(fields_.size()),
      batches_([this](Batch& batch) { return Fill(batch); }, nullptr,
               OrderedBatches<Batch>::Processing::HelperOnly, 2) {
  ReadFirst();
}

bool ScanRows::Convert(std::vector<CellValue>& values) {
  if (!records_->Next()) return false;
  const std::size_t first = values.size();
  records_->AppendValues(fields_, values);
  for (const std::size_t k : engineChanged_) {
    AsTheEngineGivesIt(values[first + k], layout_.columns[fields_[k]].kind, dateTexts_[k]);
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
    // The stretch of the record the row's values point into is kept whole, so that the texts
    // and forms cut from it need no copy each; only what lies elsewhere (an unescaped text, a
    // form still to be written) takes room of its own. A bit's form is lasting text already.
    const std::string_view record = records_->Record();
    const char* low = record.data() + record.size();
    const char* high = record.data();
    std::size_t room = 0;
    for (auto value = row; value != batch.values.end(); ++value) {
      if (value->kind == CellValue::Kind::Null || value->kind == CellValue::Kind::Bit) continue;
      const std::string_view bytes = HeldBytes(*value);
      if (Within(bytes, record)) {
        low = std::min(low, bytes.data());
        high = std::max(high, bytes.data() + bytes.size());
      } else {
        room += value->kind == CellValue::Kind::Text ? bytes.size() : kMaxFormBytes;
      }
    }
    const std::string_view used = low < high ? std::string_view(low, static_cast<std::size_t>(high - low)) : std::string_view();
    room += used.size();
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
    const std::string_view kept = Keep(used, batch.bytes);
    const auto inKept = [&](std::string_view part) {
      return kept.substr(static_cast<std::size_t>(part.data() - used.data()), part.size());
    };
    for (auto value = row; value != batch.values.end(); ++value) {
      if (value->kind == CellValue::Kind::Null) continue;
      if (value->kind == CellValue::Kind::Bit) {
        value->form = BitForm(value->integer);
        continue;
      }
      const std::string_view bytes = HeldBytes(*value);
      const bool inRecord = Within(bytes, used);
      if (value->kind == CellValue::Kind::Text) {
        value->text = inRecord ? inKept(bytes) : Keep(bytes, batch.bytes);
      } else if (inRecord) {
        value->form = inKept(bytes);
      } else {
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
