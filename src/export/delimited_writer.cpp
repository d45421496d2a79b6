#include "export/delimited_writer.h"

#include "text/byte_search.h"

namespace quorlin {

namespace {

bool Contains(std::string_view value, std::string_view separator) {
  if (separator.empty()) return false;
  if (separator.size() == 1) {
    return FindByte(value.data(), value.data() + value.size(), separator.front()) != value.data() + value.size();
  }
  return value.find(separator) != std::string_view::npos;
}

class DelimitedWriter : public FormatWriter {
 public:
  explicit DelimitedWriter(const ExportRequest& request) : request_(request) {}

  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::AsRecord : HeaderLineUse::Drop;
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }
  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath); }

  void Begin(std::int64_t) override {
    if (!request_.includeFieldNames) return;
    std::vector<std::string_view> names;
    for (const ExportField& field : request_.fields) names.push_back(field.name);
    Record(0, names);
  }

  void Record(std::int64_t, const RecordValues& values) override {
    line_.clear();
    AppendJoined(line_, values, request_.outputSeparator, request_.outputQualifier);
    line_ += "\r\n";
    out_->Write(line_);
  }

  ExportResult Finish() override { return {ExportOutcome::Exported, {}}; }

 private:
  const ExportRequest& request_;
  ByteSink* out_ = nullptr;
  std::string line_;
};

}  // namespace

void AppendJoined(std::string& line, const std::vector<std::string_view>& values,
                  std::string_view separator, std::string_view qualifier) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += separator;
    if (Contains(values[i], separator)) {
      line += qualifier;
      line += values[i];
      line += qualifier;
    } else {
      line += values[i];
    }
  }
}

std::string JoinDelimited(const std::vector<std::string_view>& values, std::string_view separator,
                          std::string_view qualifier) {
  std::string line;
  AppendJoined(line, values, separator, qualifier);
  return line;
}

std::unique_ptr<FormatWriter> MakeDelimitedWriter(const ExportRequest& request) {
  return std::make_unique<DelimitedWriter>(request);
}

}  // namespace quorlin
