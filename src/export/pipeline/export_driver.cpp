#include "export/pipeline/export_driver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "export/export_paths.h"
#include "export/pipeline/batch_output.h"
#include "export/pipeline/output_checks.h"
#include "export/pipeline/parallel_record_writing.h"
#include "export/pipeline/record_read_ahead.h"
#include "platform/file_error.h"
#include "text/record_reader.h"
#include "text/record_splitter.h"
#include "text/text_decoder.h"

namespace quorlin {

namespace {

// Reads the input for a writer: the header line by the writer's rule, then records until the
// end is reached after one, so that even an empty input gives one record.
class RecordReader {
 public:
  RecordReader(const ExportRequest& request, HeaderLineUse use)
      : request_(request),
        input_(request.inputPath, request.characterSet,
               request.fixedInput ? RecordForm::FixedLength : RecordForm::Delimited,
               request.fixedInput ? std::string_view() : request.inputSeparator,
               request.fixedInput ? std::string_view() : request.inputQualifier),
        unit_(FixedUnitOf(input_.Lines().Decoded())),
        header_(request.hasHeaderRow),
        use_(use) {
    input_.LimitLineLength(kMaxRecordBytes);
  }

  // The header and records the data pass will hand over, counted without cutting them.
  std::int64_t CountLines() {
    std::int64_t count = 0;
    if (header_) {
      input_.SkipRecord();
      if (use_ != HeaderLineUse::Drop) ++count;
    }
    // Even an empty input gives one record.
    count += std::max<std::int64_t>(1, input_.SkipRemainingRecords());
    input_.Rewind();
    return count;
  }

  // Reads the header line; true when the writer is to get it as a header (in values).
  bool ReadHeader(RecordValues& values) {
    if (!header_) return false;
    Read();
    if (use_ == HeaderLineUse::Drop) return false;
    Cut(line_, values, headerUnescaped_);
    return true;
  }

  // Reads the next record's line, valid until the next read; false once the end was reached
  // after a record.
  bool ReadRecordLine(std::string_view& line) {
    if (started_ && input_.AtEnd()) return false;
    started_ = true;
    Read();
    line = line_;
    return true;
  }

  // Where the input's text ended at a Ctrl-Z before its last byte, once the input was counted.
  std::optional<std::uint64_t> EndMarkBeforeLastByte() const { return input_.EndMarkBeforeLastByte(); }

  bool HeaderIsRecord() const { return header_ && use_ == HeaderLineUse::AsRecord; }

  long long UnclosedLine() const { return input_.UnclosedLine(); }
  // Places of the data pass that were invalid in the input's set.
  std::int64_t Replaced() const { return input_.Lines().Replaced() + valuesReplaced_.load(std::memory_order_relaxed); }
  const CharacterSet& Set() const { return input_.Lines().Set(); }

  // Cuts `line` into values that are parts of it or of `unescaped`; safe on several threads
  // at once, each with its own `unescaped`.
  void Cut(std::string_view line, RecordValues& values, std::string& unescaped) const {
    if (request_.fixedInput) {
      CutFixedRecord(line, request_.fields, values, unit_);
      if (input_.Lines().ValuesNeedChecking()) {
        if (const std::int64_t replaced = ReplaceInvalidUtf8(values, unescaped); replaced > 0) {
          valuesReplaced_.fetch_add(replaced, std::memory_order_relaxed);
        }
      }
    } else {
      SplitRecordViews(line, input_.Separator(), input_.Qualifier(), values, unescaped);
    }
  }

 private:
  void Read() {
    input_.ReadRecord(line_);
    if (input_.LastRecordCut()) {
      throw FileError("Line " + std::to_string(input_.FirstLine()) + " of " + request_.inputPath +
                      " is longer than " + std::to_string(kMaxRecordBytes >> 20) +
                      " MiB: it cannot be a record");
    }
  }

  const ExportRequest& request_;
  TextRecordReader input_;
  FixedUnit unit_;
  std::string_view line_;  // the line read last, valid until the next read
  std::string headerUnescaped_;
  bool header_;
  HeaderLineUse use_;
  bool started_ = false;
  // Replacements put into the values of fixed-length UTF-8 lines, by whichever thread cut them.
  mutable std::atomic<std::int64_t> valuesReplaced_{0};
};

// Inputs at least this large are counted on a thread of their own while their records are
// written, unless the writer needs the count first: on two cores the count then costs next to
// no time. Smaller ones are counted first, so that progress starts at 0 of a known count.
constexpr std::uintmax_t kCountAlongsideBytes = std::uintmax_t{8} << 20;

// The number of header and record lines the data pass will hand over.
class LineCount {
 public:
  explicit LineCount(std::int64_t counted) : count_(counted), known_(true) {}
  // Counts with a reader of its own, on a thread of its own.
  LineCount(const ExportRequest& request, HeaderLineUse use)
      : counter_([this, &request, use] {
          try {
            count_ = RecordReader(request, use).CountLines();
          } catch (...) {
            error_ = std::current_exception();
          }
          known_.store(true, std::memory_order_release);
        }) {}
  ~LineCount() {
    if (counter_.joinable()) counter_.join();
  }
  LineCount(const LineCount&) = delete;
  LineCount& operator=(const LineCount&) = delete;

  // The count, once it is known.
  std::optional<std::int64_t> IfKnown() const {
    if (!known_.load(std::memory_order_acquire) || error_) return std::nullopt;
    return count_;
  }
  // Waits for the count; raises what stopped the counting.
  std::int64_t Wait() {
    if (counter_.joinable()) counter_.join();
    if (error_) std::rethrow_exception(error_);
    return count_;
  }

 private:
  std::int64_t count_ = 0;
  std::exception_ptr error_;
  std::atomic<bool> known_{false};
  std::thread counter_;  // last: it starts once the members it sets are there
};

std::unique_ptr<LineCount> CountLines(const ExportRequest& request, const FormatWriter& writer, RecordReader& reader) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(request.inputPath, error);
  if (writer.NeedsRecordCount() || error || bytes < kCountAlongsideBytes) {
    return std::make_unique<LineCount>(reader.CountLines());
  }
  return std::make_unique<LineCount>(request, writer.HeaderUse());
}

// Progress is shown once the count is known.
void Report(const ExportRequest& request, std::int64_t position, const LineCount& count) {
  if (!request.progress) return;
  if (const std::optional<std::int64_t> maximum = count.IfKnown()) request.progress(position, *maximum);
}

ExportResult Failure(std::string message) { return {ExportOutcome::Failed, {std::move(message)}}; }

// Writes the records a batch at a time, while a second thread reads and cuts the ones that
// follow.
void WriteRecordsInTurn(FormatWriter& writer, RecordReader& reader,
                        const std::function<void(std::int64_t records)>& written) {
  std::string unescaped;
  RecordReadAhead records([&reader, &unescaped](std::string_view& line, RecordValues& values) {
    if (!reader.ReadRecordLine(line)) return false;
    reader.Cut(line, values, unescaped);
    return true;
  });
  RecordBatch batch;
  std::int64_t number = 0;
  while (records.Next(batch)) {
    const auto size = static_cast<std::int64_t>(batch.Size());
    writer.Records(number + 1, batch);
    number += size;
    written(size);
  }
}

// Writes the records with two twins of the writer formatting batches of them at once.
void WriteRecordsInParallel(std::array<std::unique_ptr<FormatWriter>, 2> twins,
                            const std::vector<ByteSink*>& files, RecordReader& reader,
                            const std::function<void(std::int64_t records)>& written) {
  ParallelRecordWriting records(
      [&reader](std::string_view& line) { return reader.ReadRecordLine(line); },
      [&reader](std::string_view line, RecordValues& values, std::string& unescaped) {
        reader.Cut(line, values, unescaped);
      },
      std::move(twins), files);
  records.Run([&written] { written(1); });
}

// Runs the data pass; the number of header and record lines handled.
std::int64_t WriteRecords(const ExportRequest& request, FormatWriter& writer,
                          const std::vector<ByteSink*>& files, RecordReader& reader, const LineCount& count) {
  RecordValues values;
  std::int64_t handled = 0;
  if (reader.ReadHeader(values)) {
    // A header that is written like a record is numbered like one, so record numbers count
    // data lines only when the header line is no record.
    if (reader.HeaderIsRecord()) {
      writer.Record(++handled, values);
    } else {
      writer.HeaderLine(values);
      ++handled;
    }
    Report(request, handled, count);
  }
  const auto written = [&](std::int64_t records) {
    handled += records;
    Report(request, handled, count);
  };
  std::unique_ptr<FormatWriter> twin = writer.RecordTwin();
  if (!twin) {
    WriteRecordsInTurn(writer, reader, written);
  } else {
    WriteRecordsInParallel({std::move(twin), writer.RecordTwin()}, files, reader, written);
  }
  return handled;
}

}  // namespace

ExportResult RunExport(const ExportRequest& request, FormatWriter& writer, OutputFiles& files) {
  if (std::optional<std::string> refusal = writer.Refusal()) {
    return {ExportOutcome::Refused, {std::move(*refusal)}};
  }
  if (std::optional<std::string> refusal = OutputFilesRefusal(request.inputPath, writer.FilesCreated())) {
    return {ExportOutcome::Refused, {std::move(*refusal)}};
  }

  RecordReader reader(request, writer.HeaderUse());
  const std::unique_ptr<LineCount> count = CountLines(request, writer, reader);
  NotedOutputFiles noted(files);
  ExportResult result;
  try {
    writer.Open(noted);
  } catch (...) {
    noted.Discard();
    throw;
  }
  try {
    Report(request, 0, *count);
    const bool headerSeparate = request.hasHeaderRow && writer.HeaderUse() == HeaderLineUse::Separate;
    std::optional<std::int64_t> recordCount;
    if (writer.NeedsRecordCount()) recordCount = count->Wait() - (headerSeparate ? 1 : 0);
    writer.Begin(recordCount);
    const std::int64_t handled = WriteRecords(request, writer, noted.Created(), reader, *count);
    result = writer.Finish();
    result.recordsWritten = headerSeparate ? handled - 1 : handled;
    result.unclosedLine = reader.UnclosedLine();
    if (reader.Replaced() > 0) {
      result.replaced = reader.Replaced();
      result.messages.push_back(ReplacedMessage(request.inputPath, reader.Set(), reader.Replaced()));
    }
    if (handled != count->Wait()) {
      result.outcome = ExportOutcome::Failed;
      result.stoppedEarly = true;
      result.messages.push_back("The input file " + request.inputPath + " changed while it was exported");
    }
  } catch (const FileError& error) {
    result = Failure(error.what());
    result.stoppedEarly = true;
  } catch (...) {
    noted.Discard();
    throw;
  }
  if (result.stoppedEarly) {
    noted.Discard();
    return result;
  }
  try {
    noted.CloseAll();
  } catch (const FileError& error) {
    result.outcome = ExportOutcome::Failed;
    result.stoppedEarly = true;
    if (result.messages.empty() || result.messages.back() != error.what()) {
      result.messages.push_back(error.what());
    }
    return result;
  }
  if (const std::optional<std::uint64_t> mark = reader.EndMarkBeforeLastByte()) {
    result.messages.push_back("The input file " + request.inputPath + " ends at the Ctrl-Z at byte " +
                              std::to_string(*mark + 1) + ": what follows it was not exported");
  }
  return result;
}

}  // namespace quorlin
