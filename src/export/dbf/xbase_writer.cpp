#include "export/dbf/xbase_writer.h"

#include <limits>

#include "export/code_page_text.h"
#include "export/cut_values.h"
#include "export/dbf/dbf_format.h"
#include "export/dbf/dbf_record.h"
#include "export/export_paths.h"
#include "schema/number_reading.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::int64_t kMaxRecordLength = std::numeric_limits<std::uint16_t>::max();
constexpr std::int32_t kMaxCharLength = 254;

class XBaseWriter : public FormatWriter {
 public:
  explicit XBaseWriter(const ExportRequest& request)
      : request_(request), logPath_(BesideOutput(request.outputPath, kXBaseLogName)) {
    // A single-byte input keeps its own bytes; any other is written as it is read, UTF-8.
    if (request.characterSet.Kind() == CharacterSetKind::SingleByte) {
      encoder_.emplace(request.characterSet.ConverterName().c_str());
    }
  }

  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath, logPath_}; }

  std::optional<std::string> Refusal() const override {
    if (auto tooWide = WiderTextFieldThan(request_.fields, kMaxCharLength, "dBase")) return tooWide;
    if (DbfHeaderLength(request_.fields.size()) > static_cast<std::size_t>(kMaxRecordLength)) {
      return "The layout has " + std::to_string(request_.fields.size()) +
             " fields; their descriptions do not fit a dBase header";
    }
    if (request_.recordLength > kMaxRecordLength || TotalWidth(request_.fields) >= kMaxRecordLength) {
      return "A record of these fields is " + std::to_string(TotalWidth(request_.fields) + 1) +
             " bytes long; a dBase record holds at most 65535";
    }
    return std::nullopt;
  }

  void Open(OutputFiles& files) override {
    out_ = &files.Create(request_.outputPath, FileRole::PatchedOutput);
    log_ = &files.Create(logPath_, FileRole::Log);
  }

  bool NeedsRecordCount() const override { return true; }

  void Begin(std::optional<std::int64_t> recordCount) override {
    const DbfDate today{request_.now.year, request_.now.month, request_.now.day};
    out_->Write(MakeDbfHeader(DbfColumnsFor(request_.fields), CountField(*recordCount),
                              static_cast<std::uint16_t>(request_.recordLength), today,
                              DbfLanguageDriver(request_.characterSet.CodePage())));
  }

  void Record(std::int64_t number, const RecordValues& values) override {
    if (stopped_) return;
    MakeDbfRecord(request_.fields, encoder_ ? Encoded(values) : values, request_.recordLength, request_.locale,
                  record_);
    if (record_.notANumberField) {
      const ExportField& field = request_.fields[*record_.notANumberField];
      const std::string_view value = values[*record_.notANumberField];
      std::string message = "Record " + std::to_string(number) + ": ";
      if (ReadNumber(value, request_.locale).outcome == NumberOutcome::OutOfRange) {
        message += field.name + ": " + NumberOutOfRangeMessage(value);
      } else {
        message += "the " + std::string(Trim(TypeName(field.typeCode))) + " value \"" + std::string(value) + "\" of " +
                    field.name + " is not a number";
      }
      stopped_ = std::move(message);
      return;
    }
    for (const std::size_t field : record_.rejectedFields) {
      rejected_ = true;
      log_->Write(std::to_string(number) + " : " + record_.LogText(values[field]) + std::string(kLineEnd));
    }
    for (const std::size_t field : record_.cutFields) {
      ++cut_;
      log_->Write(CutValueLogLine(number, field));
    }
    out_->Write(record_.bytes);
    ++written_;
  }

  ExportResult Finish() override {
    ExportResult result{ExportOutcome::Exported, {}};
    // The header's count was the input's; a reader must find the records written.
    out_->WriteAt(kDbfRecordCountOffset, DbfRecordCountBytes(CountField(written_)));
    if (stopped_) {
      result.outcome = ExportOutcome::Failed;
      result.stoppedEarly = true;
    }
    out_->Write(std::string(1, kDbfEndOfFile));
    if (rejected_) {
      result.messages.push_back("Errors found whilst creating xBASE Statements\nSee " +
                                ShownLog(request_.outputPath, kXBaseLogName, request_.toStandardOutput) +
                                "\nfor rejected Data");
    }
    NoteCutValues(result, cut_, logPath_);
    if (stopped_) result.messages.push_back(*stopped_);
    return result;
  }

 private:
  // The values in the input's code page, valid until the next record.
  const RecordValues& Encoded(const RecordValues& values) {
    encoded_.resize(values.size());
    encodedViews_.clear();
    for (std::size_t i = 0; i < values.size(); ++i) {
      encoded_[i] = encoder_->EncodeOrReplace(values[i]);
      encodedViews_.emplace_back(encoded_[i]);
    }
    return encodedViews_;
  }

  std::string CutValueLogLine(std::int64_t number, std::size_t field) const {
    const ExportField& cut = request_.fields[field];
    return std::to_string(number) + " : " + CutValueText(cut.name, cut.length) + std::string(kLineEnd);
  }

  static std::uint32_t CountField(std::int64_t count) {
    return static_cast<std::uint32_t>(std::min<std::int64_t>(count, std::numeric_limits<std::uint32_t>::max()));
  }

  const ExportRequest& request_;
  std::string logPath_;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
  DbfRecord record_;
  std::optional<CodePageEncoder> encoder_;
  std::vector<std::string> encoded_;
  RecordValues encodedViews_;
  std::int64_t written_ = 0;
  std::int64_t cut_ = 0;
  bool rejected_ = false;
  std::optional<std::string> stopped_;  // why the export stopped early
};

}  // namespace

std::unique_ptr<FormatWriter> MakeXBaseWriter(const ExportRequest& request) {
  return std::make_unique<XBaseWriter>(request);
}

}  // namespace quorlin
