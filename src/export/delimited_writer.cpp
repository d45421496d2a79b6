#include "export/delimited_writer.h"

#include "export/checked_copy.h"
#include "export/sink_room.h"
#include "text/byte_search.h"

namespace quorlin {

namespace {

class DelimitedWriter : public FormatWriter {
 public:
  explicit DelimitedWriter(const ExportRequest& request)
      : request_(request),
        separatorPattern_(0x0101010101010101ULL *
                          static_cast<unsigned char>(request.outputSeparator.empty() ? '\0' : request.outputSeparator.front())) {}

  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::AsRecord : HeaderLineUse::Drop;
  }
  std::unique_ptr<FormatWriter> RecordTwin() const override { return std::make_unique<DelimitedWriter>(request_); }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }
  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath, FileRole::Output); }

  void Begin(std::int64_t) override {
    if (!request_.includeFieldNames) return;
    std::vector<std::string_view> names;
    for (const ExportField& field : request_.fields) names.push_back(field.name);
    Record(0, names);
  }

  // The values joined by the separator; a value that contains it is wrapped in the qualifier,
  // nothing else is quoted or escaped.
  void Record(std::int64_t, const RecordValues& values) override {
    const std::string_view separator = request_.outputSeparator;
    const std::string_view qualifier = request_.outputQualifier;
    std::size_t valueBytes = 0;
    for (const std::string_view value : values) valueBytes += value.size();
    SinkRoom line(*out_, valueBytes + values.size() * (separator.size() + 2 * qualifier.size()) +
                             request_.lineEnd.size());
    const std::string_view* const items = values.data();
    const std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) line.Put(separator);
      if (!PutUnlessSeparated(line, items[i])) {
        line.Put(qualifier);
        line.Put(items[i]);
        line.Put(qualifier);
      }
    }
    line.Put(request_.lineEnd);
    line.Commit();
  }

  ExportResult Finish() override { return {ExportOutcome::Exported, {}}; }

 private:
  // Puts `value` when it holds no separator; false, having put nothing, when it does.
  bool PutUnlessSeparated(SinkRoom& line, std::string_view value) const {
    const std::string_view separator = request_.outputSeparator;
    if (separator.size() == 1) {
      const std::uint64_t pattern = separatorPattern_;
      if (!CopyCheckedWords(line.At(), value.data(), value.size(),
                            [pattern](std::uint64_t word) { return EqualBytes(word, pattern) == 0; })) {
        return false;
      }
      line.MovedTo(line.At() + value.size());
      return true;
    }
    if (!separator.empty() && value.find(separator) != std::string_view::npos) return false;
    line.Put(value);
    return true;
  }

  const ExportRequest& request_;
  const std::uint64_t separatorPattern_;  // a one-byte separator, repeated in every byte
  ByteSink* out_ = nullptr;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeDelimitedWriter(const ExportRequest& request) {
  return std::make_unique<DelimitedWriter>(request);
}

}  // namespace quorlin
