#include "export/parquet/column_chunk.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "export/little_endian.h"
#include "export/parquet/delta_binary_packed.h"
#include "export/parquet/page_compression.h"
#include "export/parquet/rle_hybrid.h"

namespace quorlin::parquet {

namespace {

constexpr std::int64_t kMillisPerDay = 86'400'000;
// Longer bounds would bloat the footer for little use; such a chunk keeps only its null count.
constexpr std::size_t kMaxBoundBytes = 1024;

std::int64_t FloorDiv(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return quotient * divisor > value ? quotient - 1 : quotient;
}

bool IsWholeDay(std::int64_t millis) { return FloorDiv(millis, kMillisPerDay) * kMillisPerDay == millis; }

std::int64_t ReadI64le(const char* at) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(at[i]);
  return static_cast<std::int64_t>(value);
}

// A decimal's unscaled value in `length` bytes, big-endian two's complement.
std::string DecimalBytes(std::int64_t unscaled, std::int32_t length) {
  std::string bytes(static_cast<std::size_t>(length), unscaled < 0 ? '\xFF' : '\0');
  auto value = static_cast<std::uint64_t>(unscaled);
  for (std::size_t i = 0; i < 8 && i < bytes.size(); ++i) {
    bytes[bytes.size() - 1 - i] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
  return bytes;
}

std::string PlainInteger(std::int64_t value, PhysicalType type) {
  std::string bytes;
  if (type == PhysicalType::Int32) {
    putU32le(bytes, static_cast<std::uint32_t>(value));
  } else {
    putU64le(bytes, static_cast<std::uint64_t>(value));
  }
  return bytes;
}

// Whether `a` comes before `b` in the order of their bytes. Most values differ from a chunk's
// bounds in the first byte, which settles it without a call.
bool BytesBefore(std::string_view a, std::string_view b) {
  if (!a.empty() && !b.empty() && a.front() != b.front()) {
    return static_cast<unsigned char>(a.front()) < static_cast<unsigned char>(b.front());
  }
  return a < b;
}

// Values a first page looks at before it judges whether they repeat enough.
constexpr std::size_t kDictionaryTrialValues = 1024;

}  // namespace

ColumnChunk::ColumnChunk(ColumnSchema schema, Codec codec, PageStore& pages, PageLimits limits,
                         DateTyping dateTyping)
    : schema_(std::move(schema)),
      codec_(codec),
      store_(pages),
      limits_(limits),
      dateUndecided_(dateTyping == DateTyping::ByFirstPage),
      dictionary_(schema_.type == PhysicalType::ByteArray ? StringDictionary::EntryForm::WithLength
                                                          : StringDictionary::EntryForm::FixedWidth) {
  // Until its first page decides, a date column keeps milliseconds.
  if (dateUndecided_) {
    schema_.type = PhysicalType::Int64;
    schema_.logical = LogicalType::TimestampMillis;
  }
  usesDictionary_ = Indexable();
}

// Strings and whole numbers (dates and times among them) often repeat; fractions and flags
// rarely gain from a dictionary.
bool ColumnChunk::Indexable() const {
  return schema_.logical == LogicalType::String || schema_.type == PhysicalType::Int32 ||
         schema_.type == PhysicalType::Int64;
}

bool ColumnChunk::Index(std::string_view plain) {
  bool added = false;
  indices_.push_back(dictionary_.IndexOf(plain, added));
  // Values that are all different, as keys and running numbers are, gain nothing from a
  // dictionary; better to know it early. A few thousand dates in a chunk repeat rarely among
  // its first values, and still gain.
  if (!dictionaryPages_ && indices_.size() == kDictionaryTrialValues &&
      dictionary_.Size() * 64 > kDictionaryTrialValues * 63) {
    StopIndexing();
  }
  return added;
}

void ColumnChunk::AddNull() {
  // Levels are kept one by one only in a page that has a null; one without is a single run.
  if (levels_.empty()) levels_.assign(pageValues_, 1);
  levels_.push_back(0);
  ++pageValues_;
  ++valueCount_;
  ++nullCount_;
  EndValue();
}

void ColumnChunk::AddBoolean(bool value) {
  Defined();
  if (booleanBits_ % 8 == 0) values_.push_back('\0');
  if (value) values_.back() = static_cast<char>(values_.back() | (1 << (booleanBits_ % 8)));
  ++booleanBits_;
  (value ? anyTrue_ : anyFalse_) = true;
  EndValue();
}

void ColumnChunk::AddInt32(std::int32_t value) {
  Defined();
  const std::size_t at = values_.size();
  putU32le(values_, static_cast<std::uint32_t>(value));
  if (usesDictionary_) Index(std::string_view(values_).substr(at));
  minInteger_ = std::min<std::int64_t>(minInteger_.value_or(value), value);
  maxInteger_ = std::max<std::int64_t>(maxInteger_.value_or(value), value);
  EndValue();
}

void ColumnChunk::AddInt64(std::int64_t value) {
  Defined();
  const std::size_t at = values_.size();
  putU64le(values_, static_cast<std::uint64_t>(value));
  if (usesDictionary_) Index(std::string_view(values_).substr(at));
  minInteger_ = std::min(minInteger_.value_or(value), value);
  maxInteger_ = std::max(maxInteger_.value_or(value), value);
  EndValue();
}

void ColumnChunk::AddDouble(double value) {
  Defined();
  putU64le(values_, std::bit_cast<std::uint64_t>(value));
  // NaN has no place in an order, so it bounds nothing.
  if (!std::isnan(value)) {
    minDouble_ = std::min(minDouble_.value_or(value), value);
    maxDouble_ = std::max(maxDouble_.value_or(value), value);
  }
  EndValue();
}

void ColumnChunk::AddDecimal(std::int64_t unscaled) {
  Defined();
  values_ += DecimalBytes(unscaled, schema_.typeLength);
  minInteger_ = std::min(minInteger_.value_or(unscaled), unscaled);
  maxInteger_ = std::max(maxInteger_.value_or(unscaled), unscaled);
  EndValue();
}

bool ColumnChunk::AddDateTime(std::int64_t millis) {
  if (dateUndecided_ || schema_.logical == LogicalType::TimestampMillis) {
    AddInt64(millis);
    return true;
  }
  if (!IsWholeDay(millis)) return false;
  AddInt32(static_cast<std::int32_t>(FloorDiv(millis, kMillisPerDay)));
  return true;
}

// Drops the dictionary before any page used it; the open page's strings go plain.
void ColumnChunk::StopIndexing() {
  usesDictionary_ = false;
  dictionary_.Clear();
  indices_.clear();
}

void ColumnChunk::NoteBytesBounds(std::string_view value) {
  if (!minBytes_ || BytesBefore(value, *minBytes_)) minBytes_ = std::string(value);
  if (!maxBytes_ || BytesBefore(*maxBytes_, value)) maxBytes_ = std::string(value);
}

void ColumnChunk::AddBytes(std::string_view value) {
  Defined();
  putU32le(values_, static_cast<std::uint32_t>(value.size()));
  values_.append(value);
  // Indexed strings need bounds only when they are new.
  if (!usesDictionary_ || Index(value)) NoteBytesBounds(value);
  EndValue();
}

// Whole days only in the first page make a DATE column: its milliseconds become days.
void ColumnChunk::DecideDateType() {
  dateUndecided_ = false;
  bool wholeDays = true;
  for (std::size_t at = 0; at + 8 <= values_.size() && wholeDays; at += 8) {
    wholeDays = IsWholeDay(ReadI64le(values_.data() + at));
  }
  if (!wholeDays) return;
  schema_.type = PhysicalType::Int32;
  schema_.logical = LogicalType::Date;
  std::string days;
  days.reserve(values_.size() / 2);
  for (std::size_t at = 0; at + 8 <= values_.size(); at += 8) {
    putU32le(days, static_cast<std::uint32_t>(FloorDiv(ReadI64le(values_.data() + at), kMillisPerDay)));
  }
  values_ = std::move(days);
  // Distinct whole days stay distinct as days, so the indices given so far still hold.
  if (usesDictionary_) {
    StringDictionary indexedDays(StringDictionary::EntryForm::FixedWidth);
    std::string day;
    for (std::uint32_t i = 0; i < dictionary_.Size(); ++i) {
      day.clear();
      putU32le(day, static_cast<std::uint32_t>(FloorDiv(ReadI64le(dictionary_.Entry(i).data()), kMillisPerDay)));
      bool added = false;
      indexedDays.IndexOf(day, added);
    }
    dictionary_ = std::move(indexedDays);
  }
  if (minInteger_) minInteger_ = FloorDiv(*minInteger_, kMillisPerDay);
  if (maxInteger_) maxInteger_ = FloorDiv(*maxInteger_, kMillisPerDay);
}

PageStore::Place ColumnChunk::PutPage(PageType type, std::string_view body, std::int32_t valueCount, Encoding encoding) {
  const std::string_view compressed = CompressPage(codec_, body);
  PageHeader header;
  header.type = type;
  header.uncompressedSize = static_cast<std::int32_t>(body.size());
  header.compressedSize = static_cast<std::int32_t>(compressed.size());
  header.valueCount = valueCount;
  header.encoding = encoding;
  std::string headerBytes;
  PutPageHeader(headerBytes, header);
  uncompressedPages_ += headerBytes.size() + body.size();
  return store_.Put(headerBytes, compressed);
}

// The open page's whole numbers, kept plain so far, onto the page's body.
void ColumnChunk::PutDeltas() {
  static_assert(std::endian::native == std::endian::little, "plain values are the machine's own numbers");
  if (schema_.type == PhysicalType::Int32) {
    numbers32_.resize(values_.size() / 4);
    std::memcpy(numbers32_.data(), values_.data(), numbers32_.size() * 4);
    PutDeltaBinaryPacked(body_, numbers32_);
  } else {
    numbers64_.resize(values_.size() / 8);
    std::memcpy(numbers64_.data(), values_.data(), numbers64_.size() * 8);
    PutDeltaBinaryPacked(body_, numbers64_);
  }
}

void ColumnChunk::EndPage() {
  if (pageValues_ == 0) return;
  if (dateUndecided_) DecideDateType();
  body_.clear();
  putU32le(body_, 0);
  if (levels_.empty()) {
    PutRleRun(body_, pageValues_, 1, 1);
  } else {
    PutRleHybrid(body_, levels_, 1);
  }
  storeU32le(body_, 0, static_cast<std::uint32_t>(body_.size() - 4));
  Encoding encoding = Encoding::Plain;
  if (usesDictionary_ && !indices_.empty()) {
    // Strings that are mostly different from the start gain nothing from a dictionary.
    if (!dictionaryPages_ && dictionary_.Size() * 2 > indices_.size()) {
      StopIndexing();
    } else {
      const int bitWidth = BitWidthFor(static_cast<std::uint32_t>(dictionary_.Size() - 1));
      body_.push_back(static_cast<char>(bitWidth));
      PutRleHybrid(body_, indices_, bitWidth);
      encoding = Encoding::RleDictionary;
      dictionaryPages_ = true;
      if (dictionary_.PlainEntries().size() > limits_.dictionaryBytes) usesDictionary_ = false;
    }
  }
  if (encoding == Encoding::Plain) {
    if (schema_.type == PhysicalType::Int32 || schema_.type == PhysicalType::Int64) {
      // Whole numbers that do not repeat are mostly keys and running numbers, whose
      // differences take a few bits.
      PutDeltas();
      encoding = Encoding::DeltaBinaryPacked;
      deltaPages_ = true;
    } else {
      body_ += values_;
      plainPages_ = true;
    }
  }
  pages_.push_back(PutPage(PageType::Data, body_, static_cast<std::int32_t>(pageValues_), encoding));
  pagesBytes_ += pages_.back().size;
  levels_.clear();
  pageValues_ = 0;
  values_.clear();
  indices_.clear();
  booleanBits_ = 0;
}

Statistics ColumnChunk::ChunkStatistics() const {
  Statistics statistics;
  statistics.nullCount = nullCount_;
  switch (schema_.type) {
    case PhysicalType::Boolean:
      if (anyFalse_ || anyTrue_) {
        statistics.min = std::string(1, anyFalse_ ? '\0' : '\1');
        statistics.max = std::string(1, anyTrue_ ? '\1' : '\0');
      }
      break;
    case PhysicalType::Int32:
    case PhysicalType::Int64:
      if (minInteger_) {
        statistics.min = PlainInteger(*minInteger_, schema_.type);
        statistics.max = PlainInteger(*maxInteger_, schema_.type);
      }
      break;
    case PhysicalType::Double:
      if (minDouble_) {
        // Zero bounds are signed so that both zeros fall within them.
        const double min = *minDouble_ == 0 ? -0.0 : *minDouble_;
        const double max = *maxDouble_ == 0 ? 0.0 : *maxDouble_;
        statistics.min.emplace();
        putU64le(*statistics.min, std::bit_cast<std::uint64_t>(min));
        statistics.max.emplace();
        putU64le(*statistics.max, std::bit_cast<std::uint64_t>(max));
      }
      break;
    case PhysicalType::FixedLenByteArray:
      if (minInteger_) {
        statistics.min = DecimalBytes(*minInteger_, schema_.typeLength);
        statistics.max = DecimalBytes(*maxInteger_, schema_.typeLength);
      }
      break;
    case PhysicalType::ByteArray:
      if (minBytes_ && minBytes_->size() <= kMaxBoundBytes && maxBytes_->size() <= kMaxBoundBytes) {
        statistics.min = minBytes_;
        statistics.max = maxBytes_;
      }
      break;
  }
  return statistics;
}

void ColumnChunk::Seal() {
  if (sealed_) return;
  EndPage();
  if (dateUndecided_) DecideDateType();
  if (dictionaryPages_) {
    dictionaryPage_ = PutPage(PageType::Dictionary, dictionary_.PlainEntries(),
                              static_cast<std::int32_t>(dictionary_.Size()), Encoding::Plain);
  }
  sealed_ = true;
}

ColumnChunkInfo ColumnChunk::Store(ByteSink& sink) {
  Seal();
  ColumnChunkInfo info;
  info.type = schema_.type;
  info.name = schema_.name;
  info.codec = codec_;
  info.valueCount = valueCount_;
  info.statistics = ChunkStatistics();
  if (dictionaryPages_) {
    info.dictionaryPageOffset = static_cast<std::int64_t>(sink.Size());
    store_.WriteTo(sink, dictionaryPage_);
  }
  info.dataPageOffset = static_cast<std::int64_t>(sink.Size());
  for (const PageStore::Place page : pages_) store_.WriteTo(sink, page);
  info.uncompressedSize = static_cast<std::int64_t>(uncompressedPages_);
  info.compressedSize = static_cast<std::int64_t>(dictionaryPage_.size + pagesBytes_);
  info.encodings.push_back(Encoding::Rle);
  if (plainPages_ || dictionaryPages_) info.encodings.push_back(Encoding::Plain);
  if (deltaPages_) info.encodings.push_back(Encoding::DeltaBinaryPacked);
  if (dictionaryPages_) info.encodings.push_back(Encoding::RleDictionary);

  pages_.clear();
  pagesBytes_ = 0;
  dictionaryPage_ = {};
  sealed_ = false;
  uncompressedPages_ = 0;
  dictionaryPages_ = plainPages_ = deltaPages_ = false;
  dictionary_.Clear();
  usesDictionary_ = Indexable();
  valueCount_ = nullCount_ = 0;
  minInteger_.reset();
  maxInteger_.reset();
  minDouble_.reset();
  maxDouble_.reset();
  minBytes_.reset();
  maxBytes_.reset();
  anyFalse_ = anyTrue_ = false;
  return info;
}

}  // namespace quorlin::parquet
