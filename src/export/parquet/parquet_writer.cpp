#include "export/parquet/parquet_writer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <numeric>
#include <optional>

#include "export/export_paths.h"
#include "export/parquet/field_columns.h"
#include "export/parquet/staged_folder.h"
#include "export/pipeline/background_workers.h"

namespace quorlin {

namespace {

using parquet::ColumnSchema;
using parquet::FieldColumn;

parquet::Codec CodecFor(OutputCompression compression) {
  switch (compression) {
    case OutputCompression::None: return parquet::Codec::Uncompressed;
    case OutputCompression::Snappy: return parquet::Codec::Snappy;
    case OutputCompression::Zstd: break;
  }
  return parquet::Codec::Zstd;
}

// The line of a record without any byte: no row, as engines read a blank line of a text file.
bool IsEmptyLine(const RecordValues& values, bool fixedInput) {
  if (!fixedInput) return values.size() == 1 && values.front().empty();
  return std::all_of(values.begin(), values.end(), [](std::string_view value) { return value.empty(); });
}

// Records are given to the columns in batches, so that two threads can fill columns at once
// while the next batch takes records.
constexpr std::size_t kBatchRows = 4096;

// Copies of records' values, as the values of a record last only until the next is read.
class RecordBatch {
 public:
  void Add(std::int64_t number, const RecordValues& values, std::size_t columns) {
    numbers_.push_back(number);
    for (std::size_t i = 0; i < columns; ++i) {
      if (i < values.size()) {
        values_.push_back({bytes_.size(), values[i].size()});
        bytes_.append(values[i]);
      } else {
        values_.push_back({0, kMissing});
      }
    }
    columns_ = columns;
  }

  std::size_t Rows() const { return numbers_.size(); }
  std::int64_t Number(std::size_t row) const { return numbers_[row]; }
  // Nothing for a field the record has no value for.
  std::optional<std::string_view> Value(std::size_t row, std::size_t column) const {
    const auto [start, size] = values_[row * columns_ + column];
    if (size == kMissing) return std::nullopt;
    return std::string_view(bytes_).substr(start, size);
  }

  void Clear() {
    numbers_.clear();
    values_.clear();
    bytes_.clear();
  }

 private:
  static constexpr std::size_t kMissing = static_cast<std::size_t>(-1);

  std::vector<std::int64_t> numbers_;
  std::vector<std::pair<std::size_t, std::size_t>> values_;  // start in bytes_ and size
  std::string bytes_;
  std::size_t columns_ = 0;
};

// A value the recognisers refused, by its place in the batch.
struct RefusedValue {
  std::size_t row;
  std::size_t column;
  bool operator<(const RefusedValue& other) const {
    return row != other.row ? row < other.row : column < other.column;
  }
};

class ParquetWriter : public FormatWriter {
 public:
  ParquetWriter(const ExportRequest& request, parquet::FileLimits limits)
      : request_(request),
        limits_(limits),
        logPath_(BesideOutput(request.outputPath, kParquetLogName)),
        columns_(parquet::FieldColumnsFor(request.fields, request.currencyAsDecimal
                                                              ? parquet::CurrencyColumns::Decimal
                                                              : parquet::CurrencyColumns::Double)) {
    columnOrder_.resize(columns_.size());
    std::iota(columnOrder_.begin(), columnOrder_.end(), std::size_t{0});
    columnCost_.resize(columns_.size());
    for (parquet::ValueReading& reading : reading_) {
      reading.locale = request.locale;
      reading.trimText = request.fixedInput;
    }
  }

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (request_.rowsPerFile < 0) return "The rows per file must be a positive number";
    if (IsDataset()) return parquet::DatasetFolderRefusal(request_.outputPath);
    return std::nullopt;
  }

  void Open(OutputFiles& files) override {
    files_ = &files;
    log_ = &files.Create(logPath_, FileRole::Log);
    if (IsDataset()) {
      staged_ = std::make_unique<parquet::StagedFolder>(request_.outputPath);
    } else {
      out_ = &files.Create(request_.outputPath, FileRole::Output);
    }
  }

  // The first file is begun at once, so that even an input without records gives one.
  void Begin(std::int64_t) override { BeginFile(); }

  void Record(std::int64_t number, const RecordValues& values) override {
    if (IsEmptyLine(values, request_.fixedInput)) return;
    if (IsDataset() && fileRows_ + static_cast<std::int64_t>(Filling().Rows()) == request_.rowsPerFile) {
      HandOverBatch();
      TakeFilledBatch();
      EndFile();
      BeginFile();
    }
    Filling().Add(number, values, columns_.size());
    if (Filling().Rows() == kBatchRows) HandOverBatch();
  }

  ExportResult Finish() override {
    HandOverBatch();
    TakeFilledBatch();
    EndFile();
    if (staged_) staged_->Commit();
    ExportResult result{ExportOutcome::Exported, {}};
    if (rejected_ > 0) {
      result.messages.push_back(std::to_string(rejected_) + (rejected_ == 1 ? " value was" : " values were") +
                                " rejected and written as nulls\nSee " + FolderOf(logPath_) + kParquetLogName +
                                "\nfor rejected Data");
    }
    return result;
  }

 private:
  bool IsDataset() const { return request_.rowsPerFile > 0; }

  void BeginFile() {
    if (IsDataset()) {
      out_ = &files_->Create(staged_->Path() + "/" + parquet::PartFileName(parts_++), FileRole::Part);
    }
    fileRows_ = 0;
    std::vector<parquet::FileColumn> columns;
    for (const FieldColumn& column : columns_) columns.push_back(column.column);
    file_ = std::make_unique<parquet::ParquetFile>(*out_, columns, CodecFor(request_.compression), limits_);
  }

  void EndFile() {
    file_->Finish();
    // Every part of a dataset has the types the first part's values gave.
    const std::vector<ColumnSchema> settled = file_->Columns();
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      columns_[i].column.schema = settled[i];
      columns_[i].column.dateTyping = parquet::DateTyping::Fixed;
    }
    file_.reset();
    if (IsDataset()) out_->Close();
  }

  RecordBatch& Filling() { return batches_[filling_]; }

  // Has the workers give the columns the values of the batch being filled, once they are done
  // with the one before, and goes on filling the other batch meanwhile. The batches take turns
  // in the columns, so the file's bytes do not depend on the threads' timing.
  void HandOverBatch() {
    if (Filling().Rows() == 0) return;
    TakeFilledBatch();
    fileRows_ += static_cast<std::int64_t>(Filling().Rows());
    const RecordBatch& batch = Filling();
    // The costliest columns of the batch before go first, so that no worker is left with a
    // long column at the end while the other has none.
    std::stable_sort(columnOrder_.begin(), columnOrder_.end(),
                     [this](std::size_t a, std::size_t b) { return columnCost_[a] > columnCost_[b]; });
    nextColumn_ = 0;
    workers_.Start([this, &batch](std::size_t worker) {
      std::vector<RefusedValue>& refused = refused_[worker];
      refused.clear();
      for (std::size_t next; (next = nextColumn_++) < columnOrder_.size();) {
        const std::size_t column = columnOrder_[next];
        const auto start = std::chrono::steady_clock::now();
        parquet::ColumnChunk& chunk = file_->Column(column);
        for (std::size_t row = 0; row < batch.Rows(); ++row) {
          const std::optional<std::string_view> value = batch.Value(row, column);
          if (!value) {
            chunk.AddNull();
          } else if (!parquet::AddFieldValue(chunk, columns_[column].kind, *value, reading_[worker])) {
            refused.push_back({row, column});
          }
        }
        columnCost_[column] = (std::chrono::steady_clock::now() - start).count();
      }
    });
    inColumns_ = filling_;
    filling_ = 1 - filling_;
  }

  // Waits for the workers' batch, logs the values they refused in record order and ends its
  // rows in the file, which may store a row group.
  void TakeFilledBatch() {
    if (!inColumns_) return;
    RecordBatch& batch = batches_[*inColumns_];
    inColumns_.reset();
    workers_.Wait();
    std::vector<RefusedValue>& refused = refused_[0];
    refused.insert(refused.end(), refused_[1].begin(), refused_[1].end());
    std::sort(refused.begin(), refused.end());
    for (const RefusedValue& refusal : refused) {
      LogRejected(batch.Number(refusal.row), refusal.column, *batch.Value(refusal.row, refusal.column));
    }
    file_->EndRows(static_cast<std::int64_t>(batch.Rows()));
    batch.Clear();
  }

  void LogRejected(std::int64_t number, std::size_t position, std::string_view value) {
    ++rejected_;
    std::string line = std::to_string(number) + " :  Col : " + std::to_string(position) + " (" +
                       request_.fields[position].name + ") : ";
    line += value;
    line += kLineEnd;
    log_->Write(line);
  }

  const ExportRequest& request_;
  parquet::FileLimits limits_;
  std::string logPath_;
  std::vector<FieldColumn> columns_;
  // One batch takes records while the workers give the other's values to the columns.
  std::array<RecordBatch, 2> batches_;
  std::size_t filling_ = 0;
  std::optional<std::size_t> inColumns_;
  std::atomic<std::size_t> nextColumn_{0};
  std::vector<std::size_t> columnOrder_;  // the order the workers take the columns in
  std::vector<std::chrono::steady_clock::rep> columnCost_;  // each column's time in the batch before
  std::array<parquet::ValueReading, 2> reading_;  // one per worker
  std::array<std::vector<RefusedValue>, 2> refused_;
  std::int64_t fileRows_ = 0;  // records given to the open file, the workers' batch included
  OutputFiles* files_ = nullptr;
  ByteSink* log_ = nullptr;
  ByteSink* out_ = nullptr;
  std::unique_ptr<parquet::StagedFolder> staged_;
  std::unique_ptr<parquet::ParquetFile> file_;
  long long parts_ = 0;
  std::int64_t rejected_ = 0;
  // Last, so that it is gone, its job ended, before what the job uses.
  BackgroundWorkers workers_{2};
};

}  // namespace

std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request) {
  return MakeParquetWriter(request, parquet::FileLimits{});
}

std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request, parquet::FileLimits limits) {
  return std::make_unique<ParquetWriter>(request, limits);
}

}  // namespace quorlin
