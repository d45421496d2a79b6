#include "export/json_lines/json_lines_writer.h"

#include <algorithm>
#include <atomic>

#include "export/column_names.h"
#include "export/pipeline/sink_room.h"
#include "export/rejection_counts.h"
#include "export/typed_values.h"
#include "platform/trim.h"

namespace quorlin {

namespace {

// Keys are never cut: a field name is at most 35 bytes, a repeated one a few more.
constexpr std::size_t kLongestKey = 1024;
// The most a value takes beyond kMostJsonBytesPerByte times its bytes: quotes, a date, a
// number's added "0" and the comma.
constexpr std::size_t kMostValueMarkup = kLongestIsoDateTime + 8;

class JsonLinesWriter : public FormatWriter {
 public:
  JsonLinesWriter(const ExportRequest& request, std::shared_ptr<RejectionCounts> counts)
      : request_(request), counts_(std::move(counts)) {
    std::vector<std::string> names;
    for (const ExportField& field : request.fields) names.push_back(field.name);
    std::size_t replaced = 0;
    for (const std::string& name : UniqueColumnNames(names, kLongestKey)) {
      std::string key(name.size() * kMostJsonBytesPerByte + 3, '\0');
      key[0] = '"';
      char* end = PutJsonStringBody(key.data() + 1, name, replaced);
      *end++ = '"';
      *end++ = ':';
      key.resize(static_cast<std::size_t>(end - key.data()));
      keys_.push_back(std::move(key));
      keyBytes_ += keys_.back().size();
    }
  }

  // Keys come from the field names; a header line is never a record.
  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::unique_ptr<FormatWriter> RecordTwin() const override {
    return std::make_unique<JsonLinesWriter>(request_, counts_);
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }
  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath, FileRole::Output); }
  void Begin(std::optional<std::int64_t>) override {}

  void Record(std::int64_t, const RecordValues& values) override {
    const std::size_t count = std::min(values.size(), keys_.size());
    std::size_t valueBytes = 0;
    for (std::size_t i = 0; i < count; ++i) valueBytes += values[i].size();
    SinkRoom line(*out_, 2 + keyBytes_ + kMostJsonBytesPerByte * valueBytes +
                             keys_.size() * kMostValueMarkup + request_.lineEnd.size());
    line.Put('{');
    std::size_t replaced = 0;
    std::int64_t rejected = 0;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (i > 0) line.Put(',');
      line.Put(keys_[i]);
      if (i >= count) {
        line.Put("null");
      } else if (!PutValue(line, request_.fields[i].typeCode, values[i], replaced)) {
        line.Put("null");
        ++rejected;
      }
    }
    line.Put('}');
    line.Put(request_.lineEnd);
    line.Commit();
    counts_->Add(rejected, replaced);
  }

  ExportResult Finish() override {
    ExportResult result{ExportOutcome::Exported, counts_->Messages()};
    result.valuesRejected = counts_->Rejected();
    if (result.valuesRejected > 0) result.outcome = ExportOutcome::Failed;
    return result;
  }

 private:
  // Puts the value as its type reads it; false, having put nothing, when it is no value of
  // that type.
  bool PutValue(SinkRoom& line, ExportFieldType type, std::string_view value, std::size_t& replaced) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) {
      line.Put("null");
      return true;
    }
    if (type == ExportFieldType::Bit) {
      line.Put(IsTrueWord(trimmed) ? std::string_view("true") : std::string_view("false"));
      return true;
    }
    if (IsNumberType(type)) {
      const std::optional<char*> end = PutPlainNumber(line.At(), trimmed, request_.locale);
      if (!end) return false;
      line.MovedTo(*end);
      return true;
    }
    if (type == ExportFieldType::Date || type == ExportFieldType::Time || type == ExportFieldType::Datetime) {
      const std::optional<DateTime> date = ReadDateTime(trimmed, request_.locale);
      if (!date) return false;
      line.Put('"');
      line.MovedTo(PutIsoDateTime(line.At(), *date, DatePartsOf(type, *date), 'T'));
      line.Put('"');
      return true;
    }
    line.Put('"');
    line.MovedTo(PutJsonStringBody(line.At(), value, replaced));
    line.Put('"');
    return true;
  }

  const ExportRequest& request_;
  std::shared_ptr<RejectionCounts> counts_;
  std::vector<std::string> keys_;  // each `"name":`
  std::size_t keyBytes_ = 0;
  ByteSink* out_ = nullptr;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeJsonLinesWriter(const ExportRequest& request) {
  return std::make_unique<JsonLinesWriter>(request, std::make_shared<RejectionCounts>());
}

}  // namespace quorlin
