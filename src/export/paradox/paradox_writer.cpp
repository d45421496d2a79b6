#include "export/paradox/paradox_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "export/code_page_text.h"
#include "export/column_names.h"
#include "export/cut_values.h"
#include "export/export_paths.h"
#include "export/paradox/paradox_table.h"
#include "export/value_reading.h"
#include "platform/file_error.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::size_t kMaxParadoxNameLength = 25;
constexpr int kMaxAlphaSize = 255;
constexpr std::size_t kMaxParadoxFields = 255;
constexpr std::int64_t kShortLimit = 32767;        // -32768 reads back as null
constexpr std::int64_t kLongLimit = 2147483647;    // so does -2^31
constexpr std::int32_t kMillisecondsPerSecond = 1000;

ParadoxType TypeFor(ExportFieldType type) {
  switch (type) {
    case ExportFieldType::Bit: return ParadoxType::Logical;
    case ExportFieldType::Byte: return ParadoxType::Short;
    case ExportFieldType::Date: return ParadoxType::Date;
    case ExportFieldType::Datetime: return ParadoxType::Timestamp;
    case ExportFieldType::Time: return ParadoxType::Time;
    case ExportFieldType::Currency: return ParadoxType::Currency;
    case ExportFieldType::Integer:
    case ExportFieldType::Long: return ParadoxType::Long;
    case ExportFieldType::Float:
    case ExportFieldType::Single:
    case ExportFieldType::Double: return ParadoxType::Number;
    case ExportFieldType::Char: return ParadoxType::Alpha;
  }
  return ParadoxType::Alpha;
}

std::int32_t MillisecondsOfDay(const DateTime& time) {
  return ((time.hour * 60 + time.minute) * 60 + time.second) * kMillisecondsPerSecond +
         time.millisecond;
}

class ParadoxWriter : public FormatWriter {
 public:
  explicit ParadoxWriter(const ExportRequest& request)
      : request_(request),
        logPath_(BesideOutput(request.outputPath, kParadoxLogName)),
        // The input's own code page where it has a number a table can carry, else 1252.
        codePage_(request.characterSet.CodePage() != 0 ? request.characterSet.CodePage()
                                                       : ParadoxTable::kDefaultCodePage),
        encoder_(("CP" + std::to_string(codePage_)).c_str()) {}

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (auto tooWide = WiderTextFieldThan(request_.fields, kMaxAlphaSize, "Paradox")) return tooWide;
    if (request_.fields.size() > kMaxParadoxFields) {
      return "The layout has " + std::to_string(request_.fields.size()) + " fields; a Paradox table holds at most " +
             std::to_string(kMaxParadoxFields);
    }
    std::vector<ParadoxColumn> columns;
    for (const ExportField& field : request_.fields) columns.push_back(ColumnShape(field));
    if (const int size = ParadoxTable::RecordSize(columns); size > ParadoxTable::kMaxRecordSize) {
      return "A record of these fields takes " + std::to_string(size) + " bytes; a Paradox record holds at most " +
             std::to_string(ParadoxTable::kMaxRecordSize);
    }
    return std::nullopt;
  }

  void Open(OutputFiles& files) override {
    out_ = &files.Create(request_.outputPath, FileRole::PatchedOutput);
    try {
      table_.emplace(Columns(), FileNameOf(request_.outputPath), codePage_);
    } catch (const ParadoxError& error) {
      notCreated_ = "The Paradox table " + request_.outputPath + " could not be created: " + error.what();
      return;
    }
    log_ = &files.Create(logPath_, FileRole::Log);
  }

  bool NeedsRecordCount() const override { return true; }

  void Begin(std::optional<std::int64_t> recordCount) override {
    if (!table_) return;
    try {
      table_->Start(*out_, *recordCount);
    } catch (const ParadoxError& error) {
      throw FileError("Unable to write to " + request_.outputPath + ": " + error.what());
    }
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    if (!table_) return;
    cutColumns_.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i >= request_.fields.size()) {
        Refuse(number, i, "", values[i]);
      } else if (!IsBlank(values[i]) && !SetValue(i, values[i])) {
        Refuse(number, i, request_.fields[i].name, values[i]);
      }
    }
    for (const std::size_t column : cutColumns_) {
      const ExportField& field = request_.fields[column];
      ++cut_;
      log_->Write("Row: " + std::to_string(number) + " Col: " + std::to_string(column + 1) + " (Field " +
                  field.name + ") : " + CutValueText(field.name, std::clamp(field.length, 1, kMaxAlphaSize)) +
                  std::string(kLineEnd));
    }
    try {
      table_->AppendRow();
    } catch (const ParadoxError& error) {
      throw FileError("Unable to write to " + request_.outputPath + ": " + error.what());
    }
  }

  ExportResult Finish() override {
    if (!table_) {
      ExportResult failed{ExportOutcome::Failed, {notCreated_}};
      failed.stoppedEarly = true;
      return failed;
    }
    table_->Finish();
    ExportResult result{ExportOutcome::Exported, {}};
    if (refused_) {
      result.messages.push_back("Errors found whilst creating Paradox Statements\nSee " +
                                ShownLog(request_.outputPath, kParadoxLogName, request_.toStandardOutput) +
                                "\nfor rejected Data");
    }
    NoteCutValues(result, cut_, logPath_);
    return result;
  }

 private:
  std::vector<ParadoxColumn> Columns() {
    std::vector<std::string> names;
    for (const ExportField& field : request_.fields) {
      names.push_back(encoder_.Encode(field.name).value_or(field.name));
    }
    names = UniqueColumnNames(names, kMaxParadoxNameLength);
    std::vector<ParadoxColumn> columns;
    for (std::size_t i = 0; i < request_.fields.size(); ++i) {
      columns.push_back(ColumnShape(request_.fields[i]));
      columns.back().name = names[i];
    }
    return columns;
  }

  // The column of `field` without its name.
  static ParadoxColumn ColumnShape(const ExportField& field) {
    return {"", TypeFor(field.typeCode), std::clamp(field.length, 1, kMaxAlphaSize)};
  }

  // Converts a value by its column's type; false when the column cannot hold it.
  bool SetValue(std::size_t column, std::string_view value) {
    const LocaleSettings& locale = request_.locale;
    switch (request_.fields[column].typeCode) {
      case ExportFieldType::Bit:
        table_->SetLogical(column, IsTrueWord(value));
        return true;
      case ExportFieldType::Byte:
        if (auto number = ReadWholeNumber(value, locale, -kShortLimit, kShortLimit)) {
          table_->SetShort(column, static_cast<std::int16_t>(*number));
          return true;
        }
        return false;
      case ExportFieldType::Integer:
      case ExportFieldType::Long:
        if (auto number = ReadWholeNumber(value, locale, -kLongLimit, kLongLimit)) {
          table_->SetLong(column, static_cast<std::int32_t>(*number));
          return true;
        }
        return false;
      case ExportFieldType::Float:
      case ExportFieldType::Single:
      case ExportFieldType::Double:
      case ExportFieldType::Currency:
        if (auto number = ReadNumber(value, locale)) {
          table_->SetNumber(column, *number);
          return true;
        }
        return false;
      case ExportFieldType::Date:
        if (auto date = ReadCalendarDate(value, locale)) {
          table_->SetDate(column, date->year, date->month, date->day);
          return true;
        }
        return false;
      case ExportFieldType::Time:
        if (auto time = ReadDateTime(value, locale)) {
          table_->SetTime(column, MillisecondsOfDay(*time));
          return true;
        }
        return false;
      case ExportFieldType::Datetime:
        if (auto stamp = ReadDateTime(value, locale)) {
          table_->SetTimestamp(column, stamp->year, stamp->month, stamp->day,
                               MillisecondsOfDay(*stamp));
          return true;
        }
        return false;
      case ExportFieldType::Char:
        if (auto text = encoder_.Encode(value)) {
          table_->SetAlpha(column, *text);
          const auto size = static_cast<std::size_t>(std::clamp(request_.fields[column].length, 1, kMaxAlphaSize));
          // Blanks past the field's end are no loss.
          if (!Trim(std::string_view(*text).substr(std::min(size, text->size()))).empty()) cutColumns_.push_back(column);
          return true;
        }
        return false;
    }
    return false;
  }

  void Refuse(std::int64_t row, std::size_t column, const std::string& fieldName,
              std::string_view value) {
    refused_ = true;
    line_ = "Row: " + std::to_string(row) + " Col: " + std::to_string(column + 1) + " (Field " +
            fieldName + ") : ";
    line_ += value;
    line_ += kLineEnd;
    log_->Write(line_);
  }

  const ExportRequest& request_;
  std::string logPath_;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
  int codePage_;
  CodePageEncoder encoder_;
  std::optional<ParadoxTable> table_;
  std::string notCreated_;
  bool refused_ = false;
  std::vector<std::size_t> cutColumns_;  // of the record being written
  std::int64_t cut_ = 0;
  std::string line_;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeParadoxWriter(const ExportRequest& request) {
  return std::make_unique<ParadoxWriter>(request);
}

}  // namespace quorlin
