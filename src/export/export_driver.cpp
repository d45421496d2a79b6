#include "export/export_driver.h"

#include <algorithm>

#include "export/export_paths.h"
#include "export/record_read_ahead.h"
#include "platform/file_error.h"
#include "text/record_splitter.h"
#include "text/text_line_reader.h"

namespace quorlin {

namespace {

// Reads the input for a writer: the header line by the writer's rule, then records until the
// end is reached after one, so that even an empty input gives one record.
class RecordReader {
 public:
  RecordReader(const ExportRequest& request, HeaderLineUse use)
      : request_(request), input_(request.inputPath), header_(request.hasHeaderRow), use_(use) {}

  // The header and records the data pass will hand over, counted without cutting them.
  std::int64_t CountLines() {
    std::int64_t count = 0;
    if (header_) {
      input_.SkipTextLine();
      if (use_ != HeaderLineUse::Drop) ++count;
    }
    // Even an empty input gives one record.
    count += std::max<std::int64_t>(1, input_.SkipRemainingLines());
    input_.Rewind();
    return count;
  }

  // Reads the header line; true when the writer is to get it as a header (in values).
  bool ReadHeader(RecordValues& values) {
    if (!header_) return false;
    input_.ReadTextLine(line_);
    if (use_ == HeaderLineUse::Drop) return false;
    Cut(values);
    return true;
  }

  // Reads and cuts the next record; false once the end was reached after a record.
  bool ReadRecord(RecordValues& values) {
    if (started_ && input_.AtEnd()) return false;
    started_ = true;
    input_.ReadTextLine(line_);
    Cut(values);
    return true;
  }

  bool HeaderIsRecord() const { return header_ && use_ == HeaderLineUse::AsRecord; }
  // The line read last, which the values of the last read are parts of.
  std::string_view Line() const { return line_; }

 private:
  void Cut(RecordValues& values) {
    if (request_.fixedInput) {
      CutFixedRecord(line_, request_.fields, values);
    } else {
      SplitRecordViews(line_, request_.inputSeparator, request_.inputQualifier, values);
    }
  }

  const ExportRequest& request_;
  TextLineReader input_;
  std::string_view line_;  // the line read last, valid until the next read
  bool header_;
  HeaderLineUse use_;
  bool started_ = false;
};

void Report(const ExportRequest& request, std::int64_t position, std::int64_t maximum) {
  if (request.progress) request.progress(position, maximum);
}

ExportResult Failure(std::string message) { return {ExportOutcome::Failed, {std::move(message)}}; }

// Runs the data pass; the number of header and record lines handled.
std::int64_t WriteRecords(const ExportRequest& request, FormatWriter& writer,
                          RecordReader& reader, std::int64_t count) {
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
  // The records are read and cut on a second thread while the writer formats the ones before.
  RecordReadAhead records([&reader](std::string_view& line, RecordValues& recordValues) {
    if (!reader.ReadRecord(recordValues)) return false;
    line = reader.Line();
    return true;
  });
  std::int64_t number = 0;
  while (records.Next(values)) {
    writer.Record(++number, values);
    Report(request, ++handled, count);
  }
  return handled;
}

}  // namespace

ExportResult RunExport(const ExportRequest& request, FormatWriter& writer, OutputFiles& files) {
  if (std::optional<std::string> refusal = writer.Refusal()) {
    return {ExportOutcome::Refused, {std::move(*refusal)}};
  }
  for (const std::string& path : writer.FilesCreated()) {
    if (IsSameFile(request.inputPath, path)) {
      return {ExportOutcome::Refused,
              {"Cannot export into " + path + ": it is the input file " + request.inputPath}};
    }
  }

  RecordReader reader(request, writer.HeaderUse());
  const std::int64_t count = reader.CountLines();
  writer.Open(files);

  ExportResult result;
  try {
    Report(request, 0, count);
    const bool headerSeparate = request.hasHeaderRow && writer.HeaderUse() == HeaderLineUse::Separate;
    writer.Begin(headerSeparate ? count - 1 : count);
    const std::int64_t handled = WriteRecords(request, writer, reader, count);
    result = writer.Finish();
    if (handled != count) {
      result.outcome = ExportOutcome::Failed;
      result.messages.push_back("The input file " + request.inputPath +
                                " changed while it was exported");
    }
  } catch (const FileError& error) {
    result = Failure(error.what());
  }
  try {
    files.CloseAll();
  } catch (const FileError& error) {
    result.outcome = ExportOutcome::Failed;
    if (result.messages.empty() || result.messages.back() != error.what()) {
      result.messages.push_back(error.what());
    }
  }
  return result;
}

}  // namespace quorlin
