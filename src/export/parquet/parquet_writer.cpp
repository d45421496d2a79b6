#include "export/parquet/parquet_writer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <memory>
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
bool IsEmptyLine(const RecordBatch& batch, std::size_t record, bool fixedInput) {
  const std::size_t count = batch.ValueCount(record);
  if (!fixedInput) return count == 1 && batch.Value(record, 0).empty();
  for (std::size_t i = 0; i < count; ++i) {
    if (!batch.Value(record, i).empty()) return false;
  }
  return true;
}

// Rows are given to the columns in jobs of at most this many, so that two threads can fill
// columns at once while the next job takes records; each job wakes the workers and waits for
// them, so a job is large beside that. A row group is full only after a job, so jobs are also
// at most a quarter of the rows a group holds, and the first, before that is known, is short.
// A job also holds at most so many read batches (of a megabyte at the most), so that long
// records keep it to a few megabytes.
constexpr std::size_t kJobRows = 65536;
constexpr std::size_t kFirstJobRows = 1024;
constexpr std::size_t kJobRuns = 8;

// Consecutive records of one read batch that are rows of the same file.
struct RowRun {
  std::shared_ptr<const RecordBatch> batch;
  std::int64_t firstNumber;  // the number of the batch's first record
  std::size_t begin, end;    // records of the batch
};

// The rows the workers give to the columns at once.
struct RowJob {
  std::vector<RowRun> runs;
  std::size_t rows = 0;

  // Adds the batch's records from `begin` to `end`.
  void Add(const std::shared_ptr<const RecordBatch>& batch, std::int64_t firstNumber, std::size_t begin,
           std::size_t end) {
    if (runs.empty() || runs.back().batch != batch || runs.back().end != begin) {
      runs.push_back({batch, firstNumber, begin, begin});
    }
    runs.back().end = end;
    rows += end - begin;
  }
  void Clear() {
    runs.clear();
    rows = 0;
  }
};

// A value the recognisers refused, by its place in the job.
struct RefusedValue {
  std::size_t run;
  std::size_t record;
  std::size_t column;
  bool operator<(const RefusedValue& other) const {
    if (run != other.run) return run < other.run;
    return record != other.record ? record < other.record : column < other.column;
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
  void Begin(std::optional<std::int64_t>) override { BeginFile(); }

  void Record(std::int64_t number, const RecordValues& values) override {
    RecordBatch batch;
    batch.Add({}, values);
    Records(number, batch);
  }

  // Keeps the batch's records rather than copying their values: the workers read them where
  // they are.
  void Records(std::int64_t firstNumber, RecordBatch& batch) override {
    const std::shared_ptr<RecordBatch> kept = SpareBatch();
    std::swap(*kept, batch);
    const std::size_t size = kept->Size();
    for (std::size_t record = 0; record < size;) {
      if (IsEmptyLine(*kept, record, request_.fixedInput)) {
        ++record;
        continue;
      }
      if (IsDataset() && fileRows_ + static_cast<std::int64_t>(Filling().rows) == request_.rowsPerFile) {
        HandOverJob();
        TakeFilledJob();
        EndFile();
        BeginFile();
      }
      // The records up to the next empty line, as many as the job and the file still take (at
      // least one, as a job that the rows of a group shrank below is handed over after it).
      const std::size_t jobRows = JobRows();
      std::size_t room = Filling().rows < jobRows ? jobRows - Filling().rows : 1;
      if (IsDataset()) {
        room = std::min(room, static_cast<std::size_t>(request_.rowsPerFile - fileRows_) - Filling().rows);
      }
      std::size_t end = record + 1;
      while (end < size && end - record < room && !IsEmptyLine(*kept, end, request_.fixedInput)) ++end;
      Filling().Add(kept, firstNumber, record, end);
      record = end;
      if (Filling().rows >= jobRows || Filling().runs.size() >= kJobRuns) HandOverJob();
    }
  }

  ExportResult Finish() override {
    HandOverJob();
    TakeFilledJob();
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
    SealColumns();
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

  RowJob& Filling() { return jobs_[filling_]; }

  std::size_t JobRows() const {
    const std::int64_t groupRows = file_->RowsPerGroup();
    if (groupRows == 0) return kFirstJobRows;
    return std::clamp(static_cast<std::size_t>(groupRows / 4), std::size_t{1}, kJobRows);
  }

  // A batch no job holds any more, to take the next records' place.
  std::shared_ptr<RecordBatch> SpareBatch() {
    for (const std::shared_ptr<RecordBatch>& batch : batches_) {
      if (batch.use_count() == 1) return batch;
    }
    return batches_.emplace_back(std::make_shared<RecordBatch>());
  }

  // Has the workers give the columns the values of the job being filled, once they are done
  // with the one before, and goes on filling the other job meanwhile. The jobs take turns in
  // the columns, so the file's bytes do not depend on the threads' timing.
  void HandOverJob() {
    if (Filling().rows == 0) return;
    TakeFilledJob();
    fileRows_ += static_cast<std::int64_t>(Filling().rows);
    const RowJob& job = Filling();
    // The costliest columns of the job before go first, so that no worker is left with a long
    // column at the end while the other has none.
    std::stable_sort(columnOrder_.begin(), columnOrder_.end(),
                     [this](std::size_t a, std::size_t b) { return columnCost_[a] > columnCost_[b]; });
    nextColumn_ = 0;
    workers_.Start([this, &job](std::size_t worker) {
      std::vector<RefusedValue>& refused = refused_[worker];
      refused.clear();
      std::vector<std::size_t> records;  // refused in a run
      for (std::size_t next; (next = nextColumn_++) < columnOrder_.size();) {
        const std::size_t column = columnOrder_[next];
        const auto start = std::chrono::steady_clock::now();
        parquet::ColumnChunk& chunk = file_->Column(column);
        for (std::size_t run = 0; run < job.runs.size(); ++run) {
          const RowRun& rows = job.runs[run];
          records.clear();
          parquet::AddFieldValues(chunk, columns_[column].kind, *rows.batch, column, rows.begin, rows.end,
                                  reading_[worker], records);
          for (const std::size_t record : records) refused.push_back({run, record, column});
        }
        columnCost_[column] = (std::chrono::steady_clock::now() - start).count();
      }
    });
    inColumns_ = filling_;
    filling_ = 1 - filling_;
  }

  // Waits for the workers' job, logs the values they refused in record order and ends its rows
  // in the file, which may store a row group.
  void TakeFilledJob() {
    if (!inColumns_) return;
    RowJob& job = jobs_[*inColumns_];
    inColumns_.reset();
    workers_.Wait();
    std::vector<RefusedValue>& refused = refused_[0];
    refused.insert(refused.end(), refused_[1].begin(), refused_[1].end());
    std::sort(refused.begin(), refused.end());
    for (const RefusedValue& refusal : refused) {
      const RowRun& rows = job.runs[refusal.run];
      LogRejected(rows.firstNumber + static_cast<std::int64_t>(refusal.record), refusal.column,
                  rows.batch->Value(refusal.record, refusal.column));
    }
    file_->EndRows(static_cast<std::int64_t>(job.rows));
    if (file_->RowGroupFull()) {
      SealColumns();
      file_->StoreRowGroup();
    }
    job.Clear();
  }

  // Has the workers seal the row group's columns before it is stored, rather than the columns
  // compressing their last pages one after another while it is.
  void SealColumns() {
    nextColumn_ = 0;
    workers_.Start([this](std::size_t) {
      for (std::size_t column; (column = nextColumn_++) < columns_.size();) file_->Column(column).Seal();
    });
    workers_.Wait();
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
  // The batches of records the jobs hold, kept to be filled again.
  std::vector<std::shared_ptr<RecordBatch>> batches_;
  // One job takes records while the workers give the other's values to the columns.
  std::array<RowJob, 2> jobs_;
  std::size_t filling_ = 0;
  std::optional<std::size_t> inColumns_;
  std::atomic<std::size_t> nextColumn_{0};
  std::vector<std::size_t> columnOrder_;  // the order the workers take the columns in
  std::vector<std::chrono::steady_clock::rep> columnCost_;  // each column's time in the batch before
  std::array<parquet::ValueReading, 2> reading_;  // one per worker
  std::array<std::vector<RefusedValue>, 2> refused_;
  std::int64_t fileRows_ = 0;  // records given to the open file, the workers' job included
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
