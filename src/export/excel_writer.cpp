#include "export/excel_writer.h"

#include <algorithm>

#include "export/xls/workbook_writer.h"
#include "schema/value_recognisers.h"

namespace quorlin {

namespace {

class ExcelWriter : public FormatWriter {
 public:
  explicit ExcelWriter(const ExportRequest& request) : request_(request) {}

  // The header line goes into the sheet only when "Include Header Row?" asks for it.
  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::Separate : HeaderLineUse::Drop;
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }
  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath); }

  void Begin(std::int64_t) override {
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

  void Record(std::int64_t, const RecordValues& values) override {
    if (!RoomForRow()) return;
    const std::size_t columns = ColumnsOf(std::min(values.size(), request_.fields.size()));
    for (std::size_t i = 0; i < columns; ++i) PutCell(static_cast<std::uint16_t>(i), values[i]);
    ++row_;
  }

  ExportResult Finish() override {
    workbook_.Save([this](std::string_view bytes) { out_->Write(bytes); });
    if (!rowsCut_ && !columnsCut_) return {ExportOutcome::Exported, {}};
    std::string message = "A worksheet holds at most 65536 rows and 256 columns: " +
                          std::to_string(row_) + " rows were written";
    if (columnsCut_) message += ", each with its first 256 columns only";
    return {ExportOutcome::Failed, {message}};
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
    }
  }

  const ExportRequest& request_;
  ByteSink* out_ = nullptr;
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
