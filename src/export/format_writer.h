// The steps of one export format, which the export driver calls in order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_result.h"
#include "export/export_values.h"
#include "export/pipeline/output_files.h"
#include "export/pipeline/record_batch.h"

namespace quorlin {

// What becomes of the input's first line when the input has a header line.
enum class HeaderLineUse {
  Drop,      // read and dropped, not counted
  AsRecord,  // cut and written like any record
  Separate,  // cut and handed to HeaderLine (XML's header block, a workbook's header row)
};

// A format's part of an export. The driver checks the files, counts the input, skips or cuts
// the header line, cuts every record, reports progress and traps errors; a writer only turns
// values into bytes. Raising FileError from Begin, HeaderLine, Record or Finish fails the
// export with the error's message.
class FormatWriter {
 public:
  virtual ~FormatWriter() = default;

  // How this format treats the header line when the request has one.
  virtual HeaderLineUse HeaderUse() const = 0;
  // Every file the writer creates, the output first; none may be the input.
  virtual std::vector<std::string> FilesCreated() const = 0;
  // Why the export must not start (before any file is created), or nothing.
  virtual std::optional<std::string> Refusal() const { return std::nullopt; }
  // Creates the files; a failure here is raised to the caller, not trapped.
  virtual void Open(OutputFiles& files) = 0;
  // Whether Begin needs to know how many records will follow, for a head that holds it. The
  // records of a large input are otherwise counted while they are written.
  virtual bool NeedsRecordCount() const { return false; }
  // Writes the head; `recordCount` is how many records will follow when NeedsRecordCount().
  virtual void Begin(std::optional<std::int64_t> recordCount) = 0;
  virtual void HeaderLine(const RecordValues& values) { (void)values; }
  // `number` counts data records from 1.
  virtual void Record(std::int64_t number, const RecordValues& values) = 0;
  // The records of `batch` in their order, the first numbered `firstNumber`. A writer that works
  // on many records at once may swap the batch's contents with a batch of its own.
  virtual void Records(std::int64_t firstNumber, RecordBatch& batch) {
    RecordValues values;
    for (std::size_t i = 0; i < batch.Size(); ++i) {
      batch.ValuesOf(i, values);
      Record(firstNumber + static_cast<std::int64_t>(i), values);
    }
  }
  // For a format whose records depend on nothing but their number and values, and become bytes
  // appended to its files and nothing else: a new writer of the same request, which the
  // driver opens on files in memory and gives only records, so that several of them format
  // records on several threads at once. Null for a format that keeps state across records.
  virtual std::unique_ptr<FormatWriter> RecordTwin() const { return nullptr; }
  // Writes the foot and gives the result; the driver then closes the files.
  virtual ExportResult Finish() = 0;
};

}  // namespace quorlin
