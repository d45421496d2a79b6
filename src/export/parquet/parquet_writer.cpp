#include "export/parquet/parquet_writer.h"

#include <algorithm>

#include "export/export_paths.h"
#include "export/parquet/field_columns.h"
#include "export/parquet/staged_folder.h"

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

class ParquetWriter : public FormatWriter {
 public:
  ParquetWriter(const ExportRequest& request, parquet::FileLimits limits)
      : request_(request),
        limits_(limits),
        logPath_(BesideOutput(request.outputPath, kParquetLogName)),
        columns_(parquet::FieldColumnsFor(request.fields, request.currencyAsDecimal
                                                              ? parquet::CurrencyColumns::Decimal
                                                              : parquet::CurrencyColumns::Double)) {
    reading_.locale = request.locale;
    reading_.trimText = request.fixedInput;
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
    log_ = &files.Create(logPath_);
    if (IsDataset()) {
      staged_ = std::make_unique<parquet::StagedFolder>(request_.outputPath);
    } else {
      out_ = &files.Create(request_.outputPath);
    }
  }

  // The first file is begun at once, so that even an input without records gives one.
  void Begin(std::int64_t) override { BeginFile(); }

  void Record(std::int64_t number, const RecordValues& values) override {
    if (IsEmptyLine(values, request_.fixedInput)) return;
    if (IsDataset() && file_->RowCount() == request_.rowsPerFile) {
      EndFile();
      BeginFile();
    }
    const std::size_t given = std::min(values.size(), columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      parquet::ColumnChunk& chunk = file_->Column(i);
      if (i >= given) {
        chunk.AddNull();
      } else if (!parquet::AddFieldValue(chunk, columns_[i].kind, values[i], reading_)) {
        LogRejected(number, i, values[i]);
      }
    }
    file_->EndRow();
  }

  ExportResult Finish() override {
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
      out_ = &files_->Create(staged_->Path() + "/" + parquet::PartFileName(parts_++));
    }
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

  void LogRejected(std::int64_t number, std::size_t position, std::string_view value) {
    ++rejected_;
    std::string line = std::to_string(number) + " :  Col : " + std::to_string(position) + " (" +
                       request_.fields[position].name + ") : ";
    line += value;
    line += "\r\n";
    log_->Write(line);
  }

  const ExportRequest& request_;
  parquet::FileLimits limits_;
  std::string logPath_;
  std::vector<FieldColumn> columns_;
  parquet::ValueReading reading_;
  OutputFiles* files_ = nullptr;
  ByteSink* log_ = nullptr;
  ByteSink* out_ = nullptr;
  std::unique_ptr<parquet::StagedFolder> staged_;
  std::unique_ptr<parquet::ParquetFile> file_;
  long long parts_ = 0;
  std::int64_t rejected_ = 0;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request) {
  return MakeParquetWriter(request, parquet::FileLimits{});
}

std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request, parquet::FileLimits limits) {
  return std::make_unique<ParquetWriter>(request, limits);
}

}  // namespace quorlin
