// A Parquet file written as its rows arrive: the magic, row groups of column chunks, the footer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "export/parquet/column_chunk.h"
#include "export/parquet/file_metadata.h"
#include "export/pipeline/byte_sink.h"

namespace quorlin::parquet {

struct FileLimits {
  std::size_t rowGroupBytes = 128u << 20;  // uncompressed, as readers size their reads
  PageLimits page;
};

// A column of the file, with how its date values are typed.
struct FileColumn {
  ColumnSchema schema;
  DateTyping dateTyping = DateTyping::Fixed;
};

class ParquetFile {
 public:
  // Writes the leading magic to `sink`.
  ParquetFile(ByteSink& sink, const std::vector<FileColumn>& columns, Codec codec, FileLimits limits = {});

  // The chunk of the open row group that column `index`'s next value goes to.
  ColumnChunk& Column(std::size_t index) { return *chunks_[index]; }
  std::size_t ColumnCount() const { return chunks_.size(); }
  // After every column got `count` more values. Columns may be given their values on
  // different threads, each column on one.
  void EndRows(std::int64_t count);
  // Whether the open row group has grown big enough to be stored.
  bool RowGroupFull() const;
  // About how many rows fill a row group, by the rows so far; 0 before any.
  std::int64_t RowsPerGroup() const { return rowsPerGroup_; }
  // Stores the open row group; its columns may have been sealed before, on several threads.
  void StoreRowGroup();
  // Stores the last row group and the footer.
  void Finish();

  std::int64_t RowCount() const { return file_.rowCount; }
  // The columns as the values typed them (a date column by its first page).
  std::vector<ColumnSchema> Columns() const;

 private:
  std::size_t OpenGroupBytes() const;

  ByteSink& sink_;
  FileLimits limits_;
  PageStore pages_;  // the open row group's finished pages; before the chunks, which use it
  std::vector<std::unique_ptr<ColumnChunk>> chunks_;
  FileInfo file_;
  std::int64_t groupRows_ = 0;
  std::int64_t rowsPerGroup_ = 0;
};

}  // namespace quorlin::parquet
