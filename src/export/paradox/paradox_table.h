// A Paradox table written through pxlib: columns declared once, then rows appended one by one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "export/pipeline/byte_sink.h"

struct px_doc;

namespace quorlin {

class ParadoxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ParadoxType { Alpha, Logical, Short, Long, Number, Currency, Date, Time, Timestamp };

struct ParadoxColumn {
  std::string name;  // in the table's code page, at most 25 bytes
  ParadoxType type = ParadoxType::Alpha;
  int size = 0;  // Alpha only: 1 to 255
};

// A table without key in one code page, written into a ByteSink: pxlib describes the columns
// in the file's header, and the rows go into data blocks laid out as pxlib lays them out and
// reads them back, a whole block at a time (pxlib itself positions the file several hundred
// times for every row it stores). Every row starts with all columns null; a set value replaces
// the null. Failures raise ParadoxError with the reason.
class ParadoxTable {
 public:
  static constexpr int kDefaultCodePage = 1252;
  // pxlib writes blocks of 16 KiB at most for the rows it can take, each starting with 6 bytes
  // of its own; a larger record makes pxlib divide by zero.
  static constexpr int kMaxRecordSize = 16 * 1024 - 6;

  // The bytes a row of `columns` takes.
  static int RecordSize(const std::vector<ParadoxColumn>& columns);

  // Describes the table, named `tableName` inside the file, its text in `codePage`.
  ParadoxTable(const std::vector<ParadoxColumn>& columns, const std::string& tableName,
               int codePage = kDefaultCodePage);
  ~ParadoxTable();
  ParadoxTable(const ParadoxTable&) = delete;
  ParadoxTable& operator=(const ParadoxTable&) = delete;

  // Writes the header into `out`, with blocks large enough for `expectedRows` rows where the
  // block size pxlib chose holds fewer; raises ParadoxError when no block size does.
  void Start(ByteSink& out, std::int64_t expectedRows);

  void SetAlpha(std::size_t column, std::string_view bytes);  // cut to the column's size
  void SetLogical(std::size_t column, bool value);
  void SetShort(std::size_t column, std::int16_t value);  // not -32768, which reads as null
  void SetLong(std::size_t column, std::int32_t value);   // not -2^31, which reads as null
  void SetNumber(std::size_t column, double value);       // Number and Currency columns
  void SetDate(std::size_t column, int year, int month, int day);
  void SetTime(std::size_t column, std::int32_t millisecondsOfDay);
  void SetTimestamp(std::size_t column, int year, int month, int day,
                    std::int32_t millisecondsOfDay);

  // Stores the row being built and starts the next one.
  void AppendRow();
  // Writes the last block and the row count into the header; nothing can be added after it.
  void Finish();

  // Called by pxlib's error handler.
  void NoteError(const char* message) { lastError_ = message; }

 private:
  std::string DescribedHeader(const std::vector<ParadoxColumn>& columns, const std::string& tableName);
  char* Field(std::size_t column) { return row_.data() + offsets_[column]; }
  void WriteBlock(bool last);
  [[noreturn]] void Fail(const std::string& what);

  int codePage_;
  px_doc* doc_ = nullptr;  // for pxlib's value encodings only
  std::vector<int> offsets_;
  std::vector<int> sizes_;
  std::vector<char> row_;
  std::string header_;
  ByteSink* out_ = nullptr;
  std::string block_;  // the block being filled, with its 6 leading bytes
  std::size_t rowsPerBlock_ = 0;
  std::size_t rowsInBlock_ = 0;
  std::uint32_t blocks_ = 0;  // written
  std::uint32_t rows_ = 0;
  std::string lastError_;
};

}  // namespace quorlin
