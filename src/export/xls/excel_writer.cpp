#include "export/xls/excel_writer.h"

#include <algorithm>

#include "export/cut_values.h"
#include "export/export_paths.h"
#include "export/xls/shared_strings.h"
#include "export/xls/workbook_writer.h"
#include "schema/value_recognisers.h"

namespace quorlin {

namespace {

class ExcelWriter : public FormatWriter {
 public:
  explicit ExcelWriter(const ExportRequest& request)
      : request_(request), logPath_(BesideOutput(request.outputPath, kExcelLogName)) {}

  // The header line goes into the sheet only when "Include Header Row?" asks for it.
  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::Separate : HeaderLineUse::Drop;
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (request_.fields.size() <= WorkbookWriter::kMaxColumns) return std::nullopt;
    return "The layout has " + std::to_string(request_.fields.size()) + " fields; a worksheet holds at most " +
           std::to_string(WorkbookWriter::kMaxColumns) + " columns";
  }

  // The log is created only for the first value cut, as no other export of this format has one.
  void Open(OutputFiles& files) override {
    files_ = &files;
    out_ = &files.Create(request_.outputPath, FileRole::Output);
  }

  void Begin(std::optional<std::int64_t>) override {
    workbook_.SetNumberFormat(0, "0");
    if (!request_.includeFieldNames || !RoomForRow()) return;
    const std::size_t columns = ColumnsOf(request_.fields.size());
    for (std::size_t i = 0; i < columns; ++i) {
      workbook_.PutText(static_cast<std::uint16_t>(i), Row(), request_.fields[i].name);
    }
    ++row_;
  }

  void HeaderLine(const RecordValues& values) override {
    if (!RoomForRow()) return;
    const std::size_t columns = ColumnsOf(values.size());
    for (std::size_t i = 0; i < columns; ++i) {
      workbook_.PutText(static_cast<std::uint16_t>(i), Row(), values[i]);
    }
    ++row_;
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    record_ = number;
    if (!RoomForRow()) return;
    const std::size_t columns = ColumnsOf(std::min(values.size(), request_.fields.size()));
    for (std::size_t i = 0; i < columns; ++i) PutCell(static_cast<std::uint16_t>(i), values[i]);
    ++row_;
  }

  ExportResult Finish() override {
    workbook_.Save([this](std::string_view bytes) { out_->Write(bytes); });
    ExportResult result{ExportOutcome::Exported, {}};
    if (rowsCut_ || columnsCut_) {
      std::string message = "A worksheet holds at most 65536 rows and 256 columns: " + std::to_string(row_) +
                            " rows were written";
      if (columnsCut_) message += ", each with its first 256 columns only";
      result = {ExportOutcome::Failed, {message}};
    }
    NoteCutValues(result, cut_, logPath_);
    return result;
  }

 private:
  std::uint16_t Row() const { return static_cast<std::uint16_t>(row_); }

  bool RoomForRow() {
    if (row_ < WorkbookWriter::kMaxRows) return true;
    rowsCut_ = true;
    return false;
  }

  std::size_t ColumnsOf(std::size_t wanted) {
    if (wanted <= WorkbookWriter::kMaxColumns) return wanted;
    columnsCut_ = true;
    return WorkbookWriter::kMaxColumns;
  }

  void PutCell(std::uint16_t column, std::string_view value) {
    if (request_.fields[column].typeCode == ExportFieldType::Bit && IsTrueWord(value)) {
      workbook_.PutBoolean(column, Row(), true);
    } else if (IsBlank(value)) {
      workbook_.PutBlank(column, Row());
    } else if (request_.fields[column].typeCode == ExportFieldType::Bit) {
      workbook_.PutBoolean(column, Row(), false);
    } else {
      workbook_.PutText(column, Row(), value);
      if (CutInCell(value)) LogCut(column);
    }
  }

  void LogCut(std::uint16_t column) {
    if (log_ == nullptr) log_ = &files_->Create(logPath_, FileRole::Log);
    ++cut_;
    const std::string& name = request_.fields[column].name;
    log_->Write("Row: " + std::to_string(record_) + " Col: " + std::to_string(column + 1) + " (Field " + name +
                ") : " + CutValueText(name, kMaxCellCharacters) + std::string(kLineEnd));
  }

  const ExportRequest& request_;
  std::string logPath_;
  OutputFiles* files_ = nullptr;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
  std::int64_t record_ = 0;
  std::int64_t cut_ = 0;
  WorkbookWriter workbook_;
  std::uint32_t row_ = 0;
  bool rowsCut_ = false;
  bool columnsCut_ = false;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeExcelWriter(const ExportRequest& request) {
  return std::make_unique<ExcelWriter>(request);
}

}  // namespace quorlin
