// One column's part of a row group: its values gathered into compressed pages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/parquet/file_metadata.h"
#include "export/parquet/page_store.h"
#include "export/parquet/string_dictionary.h"
#include "export/pipeline/byte_sink.h"

namespace quorlin::parquet {

struct PageLimits {
  std::size_t pageBytes = 1 << 20;        // plain-encoded values per data page
  std::size_t pageValues = 50'000;        // values per data page, nulls included
  std::size_t dictionaryBytes = 1 << 20;  // past this a chunk's strings go on plain
};

// Dates whose type the values decide: a column of whole days becomes DATE, one whose first
// page holds a time of day TIMESTAMP; later times in a DATE column are refused.
enum class DateTyping { Fixed, ByFirstPage };

// Values go in row by row; a page is encoded and compressed when it is full, and kept in the
// page store as it will be stored, so a chunk holds where its finished pages lie plus one open
// page.
class ColumnChunk {
 public:
  // The chunk's finished pages go to `pages`, which may be shared with other chunks.
  ColumnChunk(ColumnSchema schema, Codec codec, PageStore& pages, PageLimits limits = {},
              DateTyping dateTyping = DateTyping::Fixed);

  // The column as its values have typed it so far.
  const ColumnSchema& Schema() const { return schema_; }
  // Decides a date column's type now, if its values have not yet: by the values so far.
  void SettleType() {
    if (dateUndecided_) DecideDateType();
  }

  void AddNull();
  void AddBoolean(bool value);
  void AddInt32(std::int32_t value);
  void AddInt64(std::int64_t value);
  void AddDouble(double value);
  // A string, or the bytes of a fixed-length byte array.
  void AddBytes(std::string_view value);
  // A decimal's unscaled value, stored big-endian in the column's fixed length.
  void AddDecimal(std::int64_t unscaled);
  // A date and time in milliseconds since 1970 for a DATE or TIMESTAMP column; false (and
  // nothing added) when a DATE column is given a time of day.
  bool AddDateTime(std::int64_t millis);

  // Bytes the chunk would take before compression, for sizing row groups.
  std::size_t UncompressedBytes() const { return uncompressedPages_ + values_.size(); }
  std::int64_t ValueCount() const { return valueCount_; }

  // Ends the open page and makes the dictionary's page: what is left to do before storing that
  // costs time, so that chunks can be sealed at once on several threads. No values may follow.
  void Seal();
  // Stores the chunk's pages in `sink` (sealing it first if it is not) and gives their
  // metadata; the chunk is empty afterwards.
  ColumnChunkInfo Store(ByteSink& sink);

 private:
  // Every value passes these two: inline, as a call would cost more than they do.
  void Defined() {
    if (!levels_.empty()) levels_.push_back(1);
    ++pageValues_;
    ++valueCount_;
  }
  void EndValue() {
    if (values_.size() >= limits_.pageBytes || pageValues_ >= limits_.pageValues) EndPage();
  }
  void EndPage();
  void DecideDateType();
  bool Indexable() const;
  // Gives the value (in plain encoding) its number in the dictionary; true when it is new there.
  bool Index(std::string_view plain);
  void StopIndexing();
  void NoteBytesBounds(std::string_view value);
  void PutDeltas();
  // Keeps the page as it is stored: its header, then its body compressed.
  PageStore::Place PutPage(PageType type, std::string_view body, std::int32_t valueCount, Encoding encoding);
  Statistics ChunkStatistics() const;

  ColumnSchema schema_;
  Codec codec_;
  PageStore& store_;
  PageLimits limits_;
  bool dateUndecided_;
  bool usesDictionary_;  // the open page's values are indexed

  // The open page.
  std::size_t pageValues_ = 0;           // nulls included
  std::vector<std::uint32_t> levels_;  // empty while the page has no null
  std::string values_;  // plain-encoded, also for values that are indexed
  std::vector<std::uint32_t> indices_;
  std::size_t booleanBits_ = 0;

  std::vector<PageStore::Place> pages_;  // the finished data pages
  std::size_t pagesBytes_ = 0;
  PageStore::Place dictionaryPage_;  // once sealed
  bool sealed_ = false;
  std::size_t uncompressedPages_ = 0;
  bool dictionaryPages_ = false;  // some page is indexed
  bool plainPages_ = false;       // some page is plain
  bool deltaPages_ = false;       // some page holds differences

  StringDictionary dictionary_;

  std::int64_t valueCount_ = 0;
  std::int64_t nullCount_ = 0;
  // Bounds of the values so far, numbers kept as their type compares them.
  std::optional<std::int64_t> minInteger_, maxInteger_;
  std::optional<double> minDouble_, maxDouble_;
  std::optional<std::string> minBytes_, maxBytes_;
  bool anyFalse_ = false, anyTrue_ = false;

  std::string body_;  // scratch for one page
  std::vector<std::int32_t> numbers32_;
  std::vector<std::int64_t> numbers64_;
};

}  // namespace quorlin::parquet
