#include "export/parquet/parquet_file.h"

#include <algorithm>

#include "export/little_endian.h"

namespace quorlin::parquet {

namespace {

constexpr std::string_view kMagic = "PAR1";
constexpr const char* kCreatedBy = "Quorlin";

}  // namespace

ParquetFile::ParquetFile(ByteSink& sink, const std::vector<FileColumn>& columns, Codec codec, FileLimits limits)
    : sink_(sink), limits_(limits) {
  for (const FileColumn& column : columns) {
    chunks_.push_back(std::make_unique<ColumnChunk>(column.schema, codec, pages_, limits.page, column.dateTyping));
  }
  file_.createdBy = kCreatedBy;
  sink_.Write(kMagic);
}

void ParquetFile::EndRows(std::int64_t count) {
  groupRows_ += count;
  file_.rowCount += count;
  if (const std::size_t bytes = OpenGroupBytes(); bytes > 0) {
    rowsPerGroup_ = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(static_cast<double>(groupRows_) * static_cast<double>(limits_.rowGroupBytes) /
                                     static_cast<double>(bytes)));
  }
}

std::size_t ParquetFile::OpenGroupBytes() const {
  std::size_t bytes = 0;
  for (const auto& chunk : chunks_) bytes += chunk->UncompressedBytes();
  return bytes;
}

bool ParquetFile::RowGroupFull() const { return OpenGroupBytes() >= limits_.rowGroupBytes; }

void ParquetFile::StoreRowGroup() {
  RowGroupInfo group;
  group.rowCount = groupRows_;
  for (const auto& chunk : chunks_) group.columns.push_back(chunk->Store(sink_));
  pages_.Clear();
  file_.rowGroups.push_back(std::move(group));
  groupRows_ = 0;
}

std::vector<ColumnSchema> ParquetFile::Columns() const {
  std::vector<ColumnSchema> columns;
  for (const auto& chunk : chunks_) columns.push_back(chunk->Schema());
  return columns;
}

void ParquetFile::Finish() {
  if (groupRows_ > 0) StoreRowGroup();
  for (const auto& chunk : chunks_) chunk->SettleType();
  file_.columns = Columns();
  std::string footer;
  PutFileMetaData(footer, file_);
  putU32le(footer, static_cast<std::uint32_t>(footer.size()));
  footer += kMagic;
  sink_.Write(footer);
}

}  // namespace quorlin::parquet
