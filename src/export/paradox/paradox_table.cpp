#include "export/paradox/paradox_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "export/little_endian.h"

// pxlib's header declares its functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}

namespace quorlin {

namespace {

// pxlib counts days from the start of the proleptic Gregorian calendar.
constexpr long kDayNumberBase = 1721425;
constexpr double kMillisecondsPerDay = 86400000.0;

// Where pxlib keeps what the rows change in the header, and how a data block starts: the next
// and the previous block's numbers and the bytes of the block's rows less one row.
constexpr std::size_t kHeaderSizeOffset = 0x02;
constexpr std::size_t kMaxTableSizeOffset = 0x05;  // the block size in KiB
constexpr std::size_t kRecordCountOffset = 0x06;   // then next, file, first and last block
constexpr std::size_t kUsedBlocksOffset = 0x3A;
constexpr std::size_t kHeaderFieldsEnd = 0x3C;
constexpr std::size_t kBlockHeaderSize = 6;
constexpr std::size_t kMaxBlocks = 0xFFFF;

std::size_t ReadU16(const std::string& bytes, std::size_t offset) {
  return static_cast<unsigned char>(bytes[offset]) | static_cast<std::size_t>(static_cast<unsigned char>(bytes[offset + 1])) << 8;
}

struct TypeInfo {
  char pxType;
  int size;
};

TypeInfo InfoOf(const ParadoxColumn& column) {
  switch (column.type) {
    case ParadoxType::Alpha: return {pxfAlpha, column.size};
    case ParadoxType::Logical: return {pxfLogical, 1};
    case ParadoxType::Short: return {pxfShort, 2};
    case ParadoxType::Long: return {pxfLong, 4};
    case ParadoxType::Number: return {pxfNumber, 8};
    case ParadoxType::Currency: return {pxfCurrency, 8};
    case ParadoxType::Date: return {pxfDate, 4};
    case ParadoxType::Time: return {pxfTime, 4};
    case ParadoxType::Timestamp: return {pxfTimestamp, 8};
  }
  return {pxfAlpha, column.size};
}

void HandleError(pxdoc_t*, int type, const char* message, void* table) {
  if (type != PX_Warning) static_cast<ParadoxTable*>(table)->NoteError(message);
}

char* CopyForPxlib(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy != nullptr) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

}  // namespace

int ParadoxTable::RecordSize(const std::vector<ParadoxColumn>& columns) {
  int size = 0;
  for (const ParadoxColumn& column : columns) size += InfoOf(column).size;
  return size;
}

ParadoxTable::ParadoxTable(const std::vector<ParadoxColumn>& columns, const std::string& tableName, int codePage)
    : codePage_(codePage) {
  header_ = DescribedHeader(columns, tableName);
  doc_ = PX_new3(HandleError, nullptr, nullptr, nullptr, this);
  if (doc_ == nullptr) throw ParadoxError("pxlib could not start");
  int offset = 0;
  for (const ParadoxColumn& column : columns) {
    offsets_.push_back(offset);
    sizes_.push_back(InfoOf(column).size);
    offset += sizes_.back();
  }
  row_.assign(static_cast<std::size_t>(offset), '\0');
}

// The header of the table without rows, as pxlib writes it.
std::string ParadoxTable::DescribedHeader(const std::vector<ParadoxColumn>& columns, const std::string& tableName) {
  if (RecordSize(columns) > kMaxRecordSize) {
    throw ParadoxError("A row of " + std::to_string(RecordSize(columns)) + " bytes does not fit a block");
  }
  const struct Scratch {
    std::FILE* file = std::tmpfile();
    ~Scratch() {
      if (file != nullptr) std::fclose(file);
    }
  } scratch;
  if (scratch.file == nullptr) throw ParadoxError(std::strerror(errno));
  px_doc* doc = PX_new3(HandleError, nullptr, nullptr, nullptr, this);
  if (doc == nullptr) throw ParadoxError("pxlib could not start");
  // pxlib takes the field array and its names over and frees them with the table.
  auto* fields = static_cast<pxfield_t*>(std::calloc(columns.size() + 1, sizeof(pxfield_t)));
  bool described = fields != nullptr;
  for (std::size_t i = 0; described && i < columns.size(); ++i) {
    const TypeInfo info = InfoOf(columns[i]);
    fields[i].px_fname = CopyForPxlib(columns[i].name);
    fields[i].px_ftype = info.pxType;
    fields[i].px_flen = info.size;
    fields[i].px_fdc = 0;
  }
  described = described && PX_create_fp(doc, fields, static_cast<int>(columns.size()), scratch.file,
                                         pxfFileTypNonIndexDB) >= 0;
  described = described && PX_set_value(doc, "codepage", codePage_) >= 0 &&
              PX_set_tablename(doc, tableName.c_str()) >= 0;
  if (described) PX_close(doc);
  PX_delete(doc);
  if (!described) Fail("The table could not be described");
  std::string header;
  char buffer[4096];
  std::rewind(scratch.file);
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, scratch.file)) > 0;) header.append(buffer, got);
  if (std::ferror(scratch.file) != 0 || header.size() < kHeaderFieldsEnd ||
      header.size() != ReadU16(header, kHeaderSizeOffset)) {
    Fail("pxlib wrote no header");
  }
  return header;
}

ParadoxTable::~ParadoxTable() {
  if (doc_ != nullptr) PX_delete(doc_);
}

void ParadoxTable::Fail(const std::string& what) {
  throw ParadoxError(lastError_.empty() ? what : what + ": " + lastError_);
}

void ParadoxTable::Start(ByteSink& out, std::int64_t expectedRows) {
  const std::size_t recordSize = std::max<std::size_t>(row_.size(), 1);
  int blockKilobytes = static_cast<unsigned char>(header_[kMaxTableSizeOffset]);
  const auto blocksFor = [&](int kilobytes) {
    const std::size_t perBlock = (static_cast<std::size_t>(kilobytes) * 1024 - kBlockHeaderSize) / recordSize;
    return perBlock == 0 ? kMaxBlocks + 1 : (static_cast<std::size_t>(std::max<std::int64_t>(expectedRows, 0)) + perBlock - 1) / perBlock;
  };
  // Larger blocks make room for more rows: the block count is a 16-bit number.
  for (const int larger : {4, 8, 16, 32}) {
    if (blocksFor(blockKilobytes) <= kMaxBlocks) break;
    blockKilobytes = std::max(blockKilobytes, larger);
  }
  header_[kMaxTableSizeOffset] = static_cast<char>(blockKilobytes);
  block_.assign(static_cast<std::size_t>(blockKilobytes) * 1024, '\0');
  rowsPerBlock_ = (block_.size() - kBlockHeaderSize) / recordSize;
  out_ = &out;
  out_->Write(header_);
}

void ParadoxTable::SetAlpha(std::size_t column, std::string_view bytes) {
  char* field = Field(column);
  const std::size_t size = static_cast<std::size_t>(sizes_[column]);
  std::memset(field, 0, size);
  std::memcpy(field, bytes.data(), std::min(size, bytes.size()));
}

void ParadoxTable::SetLogical(std::size_t column, bool value) {
  PX_put_data_byte(doc_, Field(column), 1, value ? 1 : 0);
}

void ParadoxTable::SetShort(std::size_t column, std::int16_t value) {
  PX_put_data_short(doc_, Field(column), 2, value);
}

void ParadoxTable::SetLong(std::size_t column, std::int32_t value) {
  PX_put_data_long(doc_, Field(column), 4, value);
}

void ParadoxTable::SetNumber(std::size_t column, double value) {
  PX_put_data_double(doc_, Field(column), 8, value);
}

void ParadoxTable::SetDate(std::size_t column, int year, int month, int day) {
  PX_put_data_long(doc_, Field(column), 4,
                   static_cast<int>(PX_GregorianToSdn(year, month, day) - kDayNumberBase));
}

void ParadoxTable::SetTime(std::size_t column, std::int32_t millisecondsOfDay) {
  PX_put_data_long(doc_, Field(column), 4, millisecondsOfDay);
}

void ParadoxTable::SetTimestamp(std::size_t column, int year, int month, int day,
                                std::int32_t millisecondsOfDay) {
  const long days = PX_GregorianToSdn(year, month, day) - kDayNumberBase;
  PX_put_data_double(doc_, Field(column), 8,
                     static_cast<double>(days) * kMillisecondsPerDay + millisecondsOfDay);
}

void ParadoxTable::AppendRow() {
  if (out_ == nullptr) throw ParadoxError("The table is closed");
  if (rowsInBlock_ == rowsPerBlock_) {
    if (blocks_ + 1 >= kMaxBlocks) throw ParadoxError("A Paradox table of these fields holds at most " +
                                                      std::to_string(kMaxBlocks * rowsPerBlock_) + " rows");
    WriteBlock(false);
  }
  std::memcpy(block_.data() + kBlockHeaderSize + rowsInBlock_ * row_.size(), row_.data(), row_.size());
  ++rowsInBlock_;
  ++rows_;
  std::fill(row_.begin(), row_.end(), '\0');
}

// Writes the block being filled; a block that is not the last points at the next one.
void ParadoxTable::WriteBlock(bool last) {
  ++blocks_;
  std::string head;
  putU16le(head, static_cast<std::uint16_t>(last ? 0 : blocks_ + 1));
  putU16le(head, static_cast<std::uint16_t>(blocks_ - 1));
  putU16le(head, static_cast<std::uint16_t>((rowsInBlock_ - 1) * row_.size()));
  block_.replace(0, head.size(), head);
  std::memset(block_.data() + kBlockHeaderSize + rowsInBlock_ * row_.size(), 0,
              block_.size() - kBlockHeaderSize - rowsInBlock_ * row_.size());
  out_->Write(block_);
  rowsInBlock_ = 0;
}

void ParadoxTable::Finish() {
  if (out_ == nullptr) return;
  ByteSink& out = *out_;
  if (rowsInBlock_ > 0) WriteBlock(true);
  out_ = nullptr;
  std::string counts;
  putU32le(counts, rows_);
  putU16le(counts, static_cast<std::uint16_t>(blocks_));  // the next block to use
  putU16le(counts, static_cast<std::uint16_t>(blocks_));  // blocks in the file
  putU16le(counts, static_cast<std::uint16_t>(blocks_ > 0 ? 1 : 0));  // the first block
  putU16le(counts, static_cast<std::uint16_t>(blocks_));  // the last block
  out.WriteAt(kRecordCountOffset, counts);
  std::string used;
  putU16le(used, static_cast<std::uint16_t>(blocks_));
  out.WriteAt(kUsedBlocksOffset, used);
}

}  // namespace quorlin
