#include "export/pipeline/parallel_record_writing.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "export/pipeline/byte_sink.h"
#include "platform/file_error.h"

namespace quorlin {
namespace {

// Writes "<number>:<values>" per record to its first file and, for every record whose first
// value is "bad", a line to its second; fails at record `failAt`.
class NumberingWriter : public FormatWriter {
 public:
  explicit NumberingWriter(std::int64_t failAt = -1) : failAt_(failAt) {}
  HeaderLineUse HeaderUse() const override { return HeaderLineUse::Drop; }
  std::vector<std::string> FilesCreated() const override { return {"out", "log"}; }
  void Open(OutputFiles& files) override {
    out_ = &files.Create("out", FileRole::Output);
    log_ = &files.Create("log", FileRole::Log);
  }
  void Begin(std::optional<std::int64_t>) override {}
  void Record(std::int64_t number, const RecordValues& values) override {
    if (number == failAt_) throw std::runtime_error("record " + std::to_string(number) + " failed");
    std::string line = std::to_string(number) + ":";
    for (const std::string_view value : values) line.append(value).append("|");
    out_->Write(line + "\n");
    if (!values.empty() && values[0] == "bad") log_->Write(std::to_string(number) + "\n");
  }
  ExportResult Finish() override { return {}; }

 private:
  std::int64_t failAt_;
  ByteSink* out_ = nullptr;
  ByteSink* log_ = nullptr;
};

// `count` lines "v<n>,<n>", or "bad,<n>" for every thousandth; fails instead of giving line
// `failAt` (counted from 0) when that is set.
ParallelRecordWriting::LineSource NumberedLines(int count, int failAt = -1) {
  return [count, failAt, n = 0, line = std::string()](std::string_view& view) mutable {
    if (n == failAt) throw FileError("Unable to read the input");
    if (n == count) return false;
    line = (n % 1000 == 999 ? "bad," : "v" + std::to_string(n) + ",") + std::to_string(n);
    ++n;
    view = line;
    return true;
  };
}

void CutAtCommas(std::string_view line, RecordValues& values) {
  values.clear();
  for (std::size_t start = 0;;) {
    const std::size_t comma = line.find(',', start);
    values.push_back(line.substr(start, comma == line.npos ? line.npos : comma - start));
    if (comma == line.npos) return;
    start = comma + 1;
  }
}

void CutAtCommasInto(std::string_view line, RecordValues& values, std::string& /*unescaped*/) {
  CutAtCommas(line, values);
}

// What writing the records one after another gives.
std::pair<std::string, std::string> WrittenInTurn(int count) {
  MemorySink out, log;
  struct Files : OutputFiles {
    MemorySink& out;
    MemorySink& log;
    Files(MemorySink& out, MemorySink& log) : out(out), log(log) {}
    ByteSink& Create(const std::string& path, FileRole) override { return path == "out" ? static_cast<ByteSink&>(out) : log; }
    void CloseAll() override {}
  } files(out, log);
  NumberingWriter writer;
  writer.Open(files);
  ParallelRecordWriting::LineSource source = NumberedLines(count);
  std::string_view line;
  RecordValues values;
  for (std::int64_t number = 1; source(line); ++number) {
    CutAtCommas(line, values);
    writer.Record(number, values);
  }
  return {out.Bytes(), log.Bytes()};
}

struct Outputs {
  MemorySink out;
  MemorySink log;
  std::int64_t written = 0;
};

std::int64_t Write(Outputs& run, ParallelRecordWriting::LineSource source, std::int64_t failAt = -1) {
  ParallelRecordWriting records(std::move(source), CutAtCommasInto,
                                {std::make_unique<NumberingWriter>(failAt), std::make_unique<NumberingWriter>(failAt)},
                                {&run.out, &run.log});
  return records.Run([&] { ++run.written; });
}

// Enough records for many batches on both threads: the files hold every record and log line
// in the order of the input, numbered as if written one after another.
TEST(ParallelRecordWriting, WritesWhatWritingInTurnWrites) {
  for (const int count : {0, 1, 2047, 2048, 2049, 50000}) {
    Outputs run;
    EXPECT_EQ(count, Write(run, NumberedLines(count)));
    EXPECT_EQ(count, run.written);
    const auto [out, log] = WrittenInTurn(count);
    EXPECT_EQ(out, run.out.Bytes()) << count;
    EXPECT_EQ(log, run.log.Bytes()) << count;
  }
}

TEST(ParallelRecordWriting, RaisesAnErrorAfterTheRecordsBeforeIt) {
  const auto [out, log] = WrittenInTurn(30000);
  {
    Outputs run;
    EXPECT_THROW(Write(run, NumberedLines(30000, 20000)), FileError);
    EXPECT_EQ(20000, run.written);
    EXPECT_EQ(out.substr(0, out.find("\n20001:") + 1), run.out.Bytes());
  }
  {
    Outputs run;
    EXPECT_THROW(Write(run, NumberedLines(30000), 12345), std::runtime_error);
    EXPECT_EQ(12344, run.written);
    EXPECT_EQ(out.substr(0, out.find("\n12345:") + 1), run.out.Bytes());
  }
}

// A file that cannot be written stops both threads; nothing waits for ever.
TEST(ParallelRecordWriting, StopsWhenAFileFails) {
  struct FullSink : MemorySink {
    void Write(std::string_view bytes) override {
      if (Size() + bytes.size() > 100000) throw FileError("Unable to write to out: No space left on device");
      MemorySink::Write(bytes);
    }
  } out;
  MemorySink log;
  ParallelRecordWriting records(NumberedLines(1000000), CutAtCommasInto,
                                {std::make_unique<NumberingWriter>(), std::make_unique<NumberingWriter>()},
                                {&out, &log});
  EXPECT_THROW(records.Run([] {}), FileError);
}

}  // namespace
}  // namespace quorlin
