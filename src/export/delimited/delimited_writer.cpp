#include "export/delimited/delimited_writer.h"

#include <atomic>
#include <string>

#include "export/checked_copy.h"
#include "export/pipeline/sink_room.h"
#include "text/byte_search.h"

namespace quorlin {

namespace {

constexpr std::uint64_t Repeated(char c) { return 0x0101010101010101ULL * static_cast<unsigned char>(c); }

// The first byte of `text`, or a line end, which needs quoting anyway: a pattern that stands
// for "nothing more to look for".
char FirstOrLineEnd(std::string_view text) { return text.empty() ? '\n' : text.front(); }

class DelimitedWriter : public FormatWriter {
 public:
  DelimitedWriter(const ExportRequest& request, std::shared_ptr<std::atomic<std::int64_t>> bareValues)
      : request_(request),
        separatorPattern_(Repeated(FirstOrLineEnd(request.outputSeparator))),
        qualifierPattern_(Repeated(FirstOrLineEnd(request.outputQualifier))),
        bareValues_(std::move(bareValues)) {}

  HeaderLineUse HeaderUse() const override {
    return request_.includeHeaderRow ? HeaderLineUse::AsRecord : HeaderLineUse::Drop;
  }
  std::unique_ptr<FormatWriter> RecordTwin() const override {
    return std::make_unique<DelimitedWriter>(request_, bareValues_);
  }
  std::vector<std::string> FilesCreated() const override { return {request_.outputPath}; }
  void Open(OutputFiles& files) override { out_ = &files.Create(request_.outputPath, FileRole::Output); }

  void Begin(std::optional<std::int64_t>) override {
    if (!request_.includeFieldNames) return;
    std::vector<std::string_view> names;
    for (const ExportField& field : request_.fields) names.push_back(field.name);
    Record(0, names);
  }

  // The values joined by the separator. A value that holds the separator, the qualifier or a
  // line end is wrapped in the qualifier with every qualifier in it doubled, so that a reader
  // of the common dialect gets it back; every other value is written as it is.
  void Record(std::int64_t, const RecordValues& values) override {
    const std::string_view separator = request_.outputSeparator;
    const std::string_view qualifier = request_.outputQualifier;
    std::size_t valueBytes = 0;
    for (const std::string_view value : values) valueBytes += value.size();
    // Doubling the qualifiers of a value at most doubles it.
    SinkRoom line(*out_, 2 * valueBytes + values.size() * (separator.size() + 2 * qualifier.size()) +
                             request_.lineEnd.size());
    const std::string_view* const items = values.data();
    const std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) line.Put(separator);
      if (!PutPlain(line, items[i])) PutQuoted(line, items[i]);
    }
    line.Put(request_.lineEnd);
    line.Commit();
  }

  ExportResult Finish() override {
    ExportResult result{ExportOutcome::Exported, {}};
    result.valuesWrittenBare = bareValues_->load();
    if (result.valuesWrittenBare > 0) {
      result.messages.push_back(std::to_string(result.valuesWrittenBare) +
                                " values contain the separator and were written bare");
    }
    return result;
  }

 private:
  // Puts `value` when no byte of it needs quoting; false, having put nothing, otherwise. Whole
  // words are looked at for the separator's, the qualifier's and the line ends' first bytes.
  bool PutPlain(SinkRoom& line, std::string_view value) const {
    const std::uint64_t separator = separatorPattern_;
    const std::uint64_t qualifier = qualifierPattern_;
    const bool plain = CopyCheckedWords(line.At(), value.data(), value.size(), [separator, qualifier](std::uint64_t word) {
      return (EqualBytes(word, separator) | EqualBytes(word, qualifier) | EqualBytes(word, kCarriageReturns) |
              EqualBytes(word, kLineFeeds)) == 0;
    });
    if (!plain) return false;
    line.MovedTo(line.At() + value.size());
    return true;
  }

  // Puts a value that may need quoting, which is rare: wrapped with its qualifiers doubled, or
  // as it is when it turns out to need nothing, or bare (and counted) without a qualifier.
  void PutQuoted(SinkRoom& line, std::string_view value) const {
    const std::string_view separator = request_.outputSeparator;
    const std::string_view qualifier = request_.outputQualifier;
    const bool holdsSeparator = !separator.empty() && value.find(separator) != std::string_view::npos;
    const bool holdsLineEnd = value.find_first_of("\r\n") != std::string_view::npos;
    const bool holdsQualifier = !qualifier.empty() && value.find(qualifier) != std::string_view::npos;
    if (!holdsSeparator && !holdsLineEnd && !holdsQualifier) {
      line.Put(value);
      return;
    }
    if (qualifier.empty()) {
      bareValues_->fetch_add(1, std::memory_order_relaxed);
      line.Put(value);
      return;
    }
    line.Put(qualifier);
    for (std::size_t at = 0;;) {
      const std::size_t found = value.find(qualifier, at);
      if (found == std::string_view::npos) {
        line.Put(value.substr(at));
        break;
      }
      line.Put(value.substr(at, found + qualifier.size() - at));
      line.Put(qualifier);
      at = found + qualifier.size();
    }
    line.Put(qualifier);
  }

  static constexpr std::uint64_t kCarriageReturns = Repeated('\r');
  static constexpr std::uint64_t kLineFeeds = Repeated('\n');

  const ExportRequest& request_;
  const std::uint64_t separatorPattern_;  // the separator's byte in every byte of a word
  const std::uint64_t qualifierPattern_;
  // Shared with the twins, which format records on other threads.
  std::shared_ptr<std::atomic<std::int64_t>> bareValues_;
  ByteSink* out_ = nullptr;
};

}  // namespace

std::unique_ptr<FormatWriter> MakeDelimitedWriter(const ExportRequest& request) {
  return std::make_unique<DelimitedWriter>(request, std::make_shared<std::atomic<std::int64_t>>(0));
}

}  // namespace quorlin
