#include "export/parquet/file_metadata.h"

#include "export/parquet/thrift_compact.h"

namespace quorlin::parquet {

namespace {

constexpr std::int32_t kFormatVersion = 1;
constexpr std::int32_t kOptional = 1;

// The older annotations, for readers that predate logical types.
constexpr std::int32_t kConvertedUtf8 = 0;
constexpr std::int32_t kConvertedDecimal = 5;
constexpr std::int32_t kConvertedDate = 6;

// The members of the LogicalType union and of TimeUnit.
constexpr std::int16_t kLogicalString = 1;
constexpr std::int16_t kLogicalDecimal = 5;
constexpr std::int16_t kLogicalDate = 6;
constexpr std::int16_t kLogicalTime = 7;
constexpr std::int16_t kLogicalTimestamp = 8;
constexpr std::int16_t kUnitMillis = 1;

template <typename Enum>
std::int32_t Code(Enum value) {
  return static_cast<std::int32_t>(value);
}

void PutEmptyStruct(CompactWriter& writer, std::int16_t id) {
  writer.FieldStruct(id);
  writer.EndStruct();
}

// TimeType and TimestampType: not adjusted to UTC (the file's values are local), milliseconds.
void PutLocalMillis(CompactWriter& writer, std::int16_t id) {
  writer.FieldStruct(id);
  writer.FieldBool(1, false);
  writer.FieldStruct(2);
  PutEmptyStruct(writer, kUnitMillis);
  writer.EndStruct();
  writer.EndStruct();
}

// The LogicalType union of a column, when it has one.
void PutLogicalType(CompactWriter& writer, const ColumnSchema& column) {
  if (column.logical == LogicalType::None) return;
  writer.FieldStruct(10);
  switch (column.logical) {
    case LogicalType::String: PutEmptyStruct(writer, kLogicalString); break;
    case LogicalType::Date: PutEmptyStruct(writer, kLogicalDate); break;
    case LogicalType::TimeMillis: PutLocalMillis(writer, kLogicalTime); break;
    case LogicalType::TimestampMillis: PutLocalMillis(writer, kLogicalTimestamp); break;
    case LogicalType::Decimal:
      writer.FieldStruct(kLogicalDecimal);
      writer.FieldI32(1, column.scale);
      writer.FieldI32(2, column.precision);
      writer.EndStruct();
      break;
    case LogicalType::None: break;
  }
  writer.EndStruct();
}

// SchemaElement of a column: an optional leaf of the root.
void PutColumnSchema(CompactWriter& writer, const ColumnSchema& column) {
  writer.BeginStruct();
  writer.FieldI32(1, Code(column.type));
  if (column.type == PhysicalType::FixedLenByteArray) writer.FieldI32(2, column.typeLength);
  writer.FieldI32(3, kOptional);
  writer.FieldBinary(4, column.name);
  switch (column.logical) {
    case LogicalType::String: writer.FieldI32(6, kConvertedUtf8); break;
    case LogicalType::Date: writer.FieldI32(6, kConvertedDate); break;
    case LogicalType::Decimal:
      writer.FieldI32(6, kConvertedDecimal);
      writer.FieldI32(7, column.scale);
      writer.FieldI32(8, column.precision);
      break;
    // The older time annotations mean UTC-adjusted values, which these are not.
    default: break;
  }
  PutLogicalType(writer, column);
  writer.EndStruct();
}

// Statistics with the min_value and max_value members, whose order is the column type's.
void PutStatistics(CompactWriter& writer, std::int16_t id, const Statistics& statistics) {
  writer.FieldStruct(id);
  writer.FieldI64(3, statistics.nullCount);
  if (statistics.max) writer.FieldBinary(5, *statistics.max);
  if (statistics.min) writer.FieldBinary(6, *statistics.min);
  writer.EndStruct();
}

// ColumnMetaData.
void PutColumnMetaData(CompactWriter& writer, std::int16_t id, const ColumnChunkInfo& chunk) {
  writer.FieldStruct(id);
  writer.FieldI32(1, Code(chunk.type));
  writer.FieldList(2, CompactType::I32, chunk.encodings.size());
  for (const Encoding encoding : chunk.encodings) writer.ElementI32(Code(encoding));
  writer.FieldList(3, CompactType::Binary, 1);
  writer.ElementBinary(chunk.name);
  writer.FieldI32(4, Code(chunk.codec));
  writer.FieldI64(5, chunk.valueCount);
  writer.FieldI64(6, chunk.uncompressedSize);
  writer.FieldI64(7, chunk.compressedSize);
  writer.FieldI64(9, chunk.dataPageOffset);
  if (chunk.dictionaryPageOffset) writer.FieldI64(11, *chunk.dictionaryPageOffset);
  PutStatistics(writer, 12, chunk.statistics);
  writer.EndStruct();
}

// ColumnChunk, its metadata kept in this file.
void PutColumnChunk(CompactWriter& writer, const ColumnChunkInfo& chunk) {
  writer.BeginStruct();
  writer.FieldI64(2, chunk.FirstPageOffset());
  PutColumnMetaData(writer, 3, chunk);
  writer.EndStruct();
}

// RowGroup.
void PutRowGroup(CompactWriter& writer, const RowGroupInfo& group) {
  std::int64_t uncompressed = 0;
  std::int64_t compressed = 0;
  for (const ColumnChunkInfo& chunk : group.columns) {
    uncompressed += chunk.uncompressedSize;
    compressed += chunk.compressedSize;
  }
  writer.BeginStruct();
  writer.FieldList(1, CompactType::Struct, group.columns.size());
  for (const ColumnChunkInfo& chunk : group.columns) PutColumnChunk(writer, chunk);
  writer.FieldI64(2, uncompressed);
  writer.FieldI64(3, group.rowCount);
  if (!group.columns.empty()) {
    writer.FieldI64(5, group.columns.front().FirstPageOffset());
    writer.FieldI64(6, compressed);
  }
  writer.EndStruct();
}

}  // namespace

void PutPageHeader(std::string& out, const PageHeader& header) {
  CompactWriter writer(out);
  writer.BeginStruct();
  writer.FieldI32(1, Code(header.type));
  writer.FieldI32(2, header.uncompressedSize);
  writer.FieldI32(3, header.compressedSize);
  if (header.type == PageType::Data) {
    // DataPageHeader: definition levels in the RLE hybrid, no repetition levels.
    writer.FieldStruct(5);
    writer.FieldI32(1, header.valueCount);
    writer.FieldI32(2, Code(header.encoding));
    writer.FieldI32(3, Code(Encoding::Rle));
    writer.FieldI32(4, Code(Encoding::Rle));
    writer.EndStruct();
  } else {
    // DictionaryPageHeader.
    writer.FieldStruct(7);
    writer.FieldI32(1, header.valueCount);
    writer.FieldI32(2, Code(Encoding::Plain));
    writer.EndStruct();
  }
  writer.EndStruct();
}

void PutFileMetaData(std::string& out, const FileInfo& file) {
  CompactWriter writer(out);
  writer.BeginStruct();
  writer.FieldI32(1, kFormatVersion);
  writer.FieldList(2, CompactType::Struct, file.columns.size() + 1);
  writer.BeginStruct();
  writer.FieldBinary(4, "schema");
  writer.FieldI32(5, static_cast<std::int32_t>(file.columns.size()));
  writer.EndStruct();
  for (const ColumnSchema& column : file.columns) PutColumnSchema(writer, column);
  writer.FieldI64(3, file.rowCount);
  writer.FieldList(4, CompactType::Struct, file.rowGroups.size());
  for (const RowGroupInfo& group : file.rowGroups) PutRowGroup(writer, group);
  writer.FieldBinary(6, file.createdBy);
  // ColumnOrder: every column ordered by its type's own order, so readers trust min and max.
  writer.FieldList(7, CompactType::Struct, file.columns.size());
  for (std::size_t i = 0; i < file.columns.size(); ++i) {
    writer.BeginStruct();
    PutEmptyStruct(writer, 1);
    writer.EndStruct();
  }
  writer.EndStruct();
}

}  // namespace quorlin::parquet
