// The Parquet footer and page headers as values, and their Thrift encoding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlin::parquet {

enum class PhysicalType : std::int32_t {
  Boolean = 0,
  Int32 = 1,
  Int64 = 2,
  Double = 5,
  ByteArray = 6,
  FixedLenByteArray = 7,
};

// What a column's values mean beyond their physical type.
enum class LogicalType {
  None,
  String,
  Date,             // days since 1970-01-01
  TimeMillis,       // milliseconds since midnight, local time
  TimestampMillis,  // milliseconds since 1970-01-01, local time
  Decimal,
};

enum class Codec : std::int32_t { Uncompressed = 0, Snappy = 1, Zstd = 6 };

enum class Encoding : std::int32_t { Plain = 0, Rle = 3, DeltaBinaryPacked = 5, RleDictionary = 8 };

enum class PageType : std::int32_t { Data = 0, Dictionary = 2 };

struct ColumnSchema {
  std::string name;
  PhysicalType type = PhysicalType::ByteArray;
  LogicalType logical = LogicalType::None;
  std::int32_t typeLength = 0;  // bytes of a fixed-length byte array
  std::int32_t precision = 0;   // decimals
  std::int32_t scale = 0;
};

// Minimum and maximum in the column's plain encoding (without a length for byte arrays).
struct Statistics {
  std::optional<std::string> min;
  std::optional<std::string> max;
  std::int64_t nullCount = 0;
};

struct PageHeader {
  PageType type = PageType::Data;
  std::int32_t uncompressedSize = 0;
  std::int32_t compressedSize = 0;
  std::int32_t valueCount = 0;  // nulls included on data pages
  Encoding encoding = Encoding::Plain;
};

struct ColumnChunkInfo {
  PhysicalType type = PhysicalType::ByteArray;
  std::vector<Encoding> encodings;
  std::string name;
  Codec codec = Codec::Uncompressed;
  std::int64_t valueCount = 0;
  std::int64_t uncompressedSize = 0;  // page headers included
  std::int64_t compressedSize = 0;    // page headers included
  std::int64_t dataPageOffset = 0;
  std::optional<std::int64_t> dictionaryPageOffset;
  Statistics statistics;

  std::int64_t FirstPageOffset() const { return dictionaryPageOffset.value_or(dataPageOffset); }
};

struct RowGroupInfo {
  std::vector<ColumnChunkInfo> columns;
  std::int64_t rowCount = 0;
};

struct FileInfo {
  std::vector<ColumnSchema> columns;
  std::vector<RowGroupInfo> rowGroups;
  std::int64_t rowCount = 0;
  std::string createdBy;
};

// Appends the Thrift form of a page header.
void PutPageHeader(std::string& out, const PageHeader& header);
// Appends the Thrift form of the file's metadata (the footer without its length and magic).
void PutFileMetaData(std::string& out, const FileInfo& file);

}  // namespace quorlin::parquet
