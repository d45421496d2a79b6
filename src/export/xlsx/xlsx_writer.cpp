#include "export/xlsx/xlsx_writer.h"

#include <xlsxwriter.h>

#include "export/column_names.h"
#include "export/rejection_counts.h"
#include "export/pipeline/scratch_file.h"
#include "export/typed_values.h"
#include "platform/file_error.h"
#include "platform/trim.h"
#include "schema/number_reading.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

class XlsxWriter : public FormatWriter {
 public:
  explicit XlsxWriter(const ExportRequest& request) : request_(request) {}
  ~XlsxWriter() override {
    // A workbook left open by a failed export is written to its scratch file and dropped.
    if (workbook_ != nullptr) workbook_close(workbook_);
  }

  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::Separate : HeaderLineUse::Drop;
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }

  std::optional<std::string> Refusal() const override {
    if (request_.fields.size() > kMaxXlsxColumns) {
      return "A worksheet holds at most " + std::to_string(kMaxXlsxColumns) + " columns: the layout has " +
             std::to_string(request_.fields.size()) + " fields";
    }
    return std::nullopt;
  }

  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath, FileRole::Output); }

  // A worksheet holds a bounded number of rows: a longer input is refused before anything is
  // written.
  bool NeedsRecordCount() const override { return true; }

  void Begin(std::optional<std::int64_t> recordCount) override {
    const bool headerRow = request_.hasHeaderRow && request_.includeHeaderRow;
    const std::int64_t rows = *recordCount + (request_.includeFieldNames ? 1 : 0) + (headerRow ? 1 : 0);
    if (rows > kMaxXlsxRows) {
      throw FileError("A worksheet holds at most " + std::to_string(kMaxXlsxRows) + " rows and the export needs " +
                      std::to_string(rows) + ": nothing was written");
    }
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    workbook_ = workbook_new_opt(scratch_.Path().c_str(), &options);
    if (workbook_ == nullptr) throw FileError("Cannot create the workbook in " + scratch_.Path());
    sheet_ = workbook_add_worksheet(workbook_, nullptr);
    dayFormat_ = NumberFormat("yyyy-mm-dd");
    timeFormat_ = NumberFormat("hh:mm:ss");
    dayAndTimeFormat_ = NumberFormat("yyyy-mm-dd hh:mm:ss");
    if (!request_.includeFieldNames) return;
    std::vector<std::string> names;
    for (const ExportField& field : request_.fields) names.push_back(field.name);
    names = UniqueColumnNames(names, kMaxXlsxText);
    for (std::size_t i = 0; i < names.size(); ++i) PutText(static_cast<lxw_col_t>(i), names[i]);
    ++row_;
  }

  void HeaderLine(const RecordValues& values) override {
    const std::size_t columns = std::min(values.size(), kMaxXlsxColumns);
    for (std::size_t i = 0; i < columns; ++i) PutText(static_cast<lxw_col_t>(i), values[i]);
    ++row_;
  }

  void Record(std::int64_t, const RecordValues& values) override {
    const std::size_t columns = std::min(values.size(), request_.fields.size());
    for (std::size_t i = 0; i < columns; ++i) PutCell(static_cast<lxw_col_t>(i), request_.fields[i].typeCode, values[i]);
    ++row_;
  }

  ExportResult Finish() override {
    const lxw_error error = workbook_close(workbook_);
    workbook_ = nullptr;
    if (error != LXW_NO_ERROR) throw FileError("Cannot write the workbook: " + std::string(lxw_strerror(error)));
    scratch_.CopyInto(*out_);
    ExportResult result{ExportOutcome::Exported, counts_.Messages()};
    if (textsCut_ > 0) {
      result.messages.push_back(std::to_string(textsCut_) + " texts longer than " + std::to_string(kMaxXlsxText) +
                                " characters were cut to that length, the first in row " +
                                std::to_string(firstCutRow_ + 1));
      result.outcome = ExportOutcome::Failed;
      result.valuesRejected = textsCut_;
    }
    return result;
  }

 private:
  lxw_format* NumberFormat(const char* pattern) {
    lxw_format* format = workbook_add_format(workbook_);
    format_set_num_format(format, pattern);
    return format;
  }

  void PutCell(lxw_col_t column, ExportFieldType type, std::string_view value) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) return;
    if (type == ExportFieldType::Bit) {
      Check(worksheet_write_boolean(sheet_, Row(), column, IsTrueWord(trimmed) ? 1 : 0, nullptr));
      return;
    }
    if (IsNumberType(type) && PutNumber(column, trimmed)) return;
    if ((type == ExportFieldType::Date || type == ExportFieldType::Time || type == ExportFieldType::Datetime) &&
        PutDate(column, type, trimmed)) {
      return;
    }
    // Text, and a value that is no value of its field's type, which stays as it was typed.
    PutText(column, value);
  }

  bool PutNumber(lxw_col_t column, std::string_view trimmed) {
    char text[64];
    if (trimmed.size() + 2 > sizeof text) return false;
    const std::optional<char*> end = PutPlainNumber(text, trimmed, request_.locale);
    if (!end) return false;
    const std::string_view pointText(text, static_cast<std::size_t>(*end - text));
    const NumberReading number = ReadNumber(pointText, LocaleSettings{});
    if (!number) return false;
    Check(worksheet_write_number(sheet_, Row(), column, *number, nullptr));
    return true;
  }

  bool PutDate(lxw_col_t column, ExportFieldType type, std::string_view trimmed) {
    const std::optional<DateTime> date = ReadDateTime(trimmed, request_.locale);
    if (!date) return false;
    const DateParts parts = DatePartsOf(type, *date);
    const double seconds = date->hour * 3600.0 + date->minute * 60.0 + date->second;
    if (parts == DateParts::Time) {
      Check(worksheet_write_number(sheet_, Row(), column, seconds / 86400.0, timeFormat_));
      return true;
    }
    // The days a workbook can show; any other date is written as its ISO text.
    if (date->year < 1900 || date->year > 9999) return false;
    lxw_datetime when{date->year, date->month, date->day, date->hour, date->minute, static_cast<double>(date->second)};
    Check(worksheet_write_datetime(sheet_, Row(), column, &when,
                                   parts == DateParts::Day ? dayFormat_ : dayAndTimeFormat_));
    return true;
  }

  void PutText(lxw_col_t column, std::string_view value) {
    text_.resize(value.size() * 3 + 1);
    std::size_t replaced = 0;
    char* end = PutValidUtf8(text_.data(), value, replaced);
    std::string_view valid(text_.data(), static_cast<std::size_t>(end - text_.data()));
    counts_.Add(0, replaced);
    if (valid.size() > kMaxXlsxText && Utf8CharacterCount(valid) > kMaxXlsxText) {
      valid = valid.substr(0, Utf8Advance(valid, 0, kMaxXlsxText));
      if (textsCut_++ == 0) firstCutRow_ = row_;
    }
    text_[valid.size()] = '\0';
    // A NUL ends the text for the library; the cell keeps what comes before it.
    Check(worksheet_write_string(sheet_, Row(), column, text_.c_str(), nullptr));
  }

  void Check(lxw_error error) {
    if (error != LXW_NO_ERROR) {
      throw FileError("Cannot write row " + std::to_string(row_ + 1) + " of the workbook: " + lxw_strerror(error));
    }
  }

  lxw_row_t Row() const { return static_cast<lxw_row_t>(row_); }

  const ExportRequest& request_;
  // The library writes only to named files.
  ScratchFile scratch_{"quorlin-xlsx"};
  ByteSink* out_ = nullptr;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* dayFormat_ = nullptr;
  lxw_format* timeFormat_ = nullptr;
  lxw_format* dayAndTimeFormat_ = nullptr;
  std::int64_t row_ = 0;
  std::string text_;
  RejectionCounts counts_;
  std::int64_t textsCut_ = 0;
  std::int64_t firstCutRow_ = 0;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeXlsxWriter(const ExportRequest& request) {
  return std::make_unique<XlsxWriter>(request);
}

}  // namespace quorlin
