#include "export/xls/shared_strings.h"

#include <algorithm>

#include "export/export_values.h"
#include "export/little_endian.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

constexpr std::uint16_t kSstRecord = 0x00FC;
constexpr std::uint16_t kExtSstRecord = 0x00FF;

// The bytes of `text` that its cell keeps: a UTF-16 length of at most kMaxCellCharacters for
// UTF-8, as many bytes otherwise.
std::string_view CutToCellLimit(std::string_view text) {
  if (text.size() <= kMaxCellCharacters) return text;
  std::u32string codePoints;
  if (IsAscii(text) || !DecodeUtf8(text, codePoints)) return text.substr(0, kMaxCellCharacters);
  std::size_t units = 0;
  std::size_t bytes = 0;
  for (char32_t code : codePoints) {
    const std::size_t codeUnits = code > 0xFFFF ? 2 : 1;
    if (units + codeUnits > kMaxCellCharacters) break;
    units += codeUnits;
    bytes += code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
  }
  return text.substr(0, bytes);
}

void PutUtf16(std::string& out, char32_t code) {
  if (code > 0xFFFF) {
    code -= 0x10000;
    putU16le(out, static_cast<std::uint16_t>(0xD800 + (code >> 10)));
    putU16le(out, static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF)));
  } else {
    putU16le(out, static_cast<std::uint16_t>(code));
  }
}

}  // namespace

bool CutInCell(std::string_view text) { return CutToCellLimit(text).size() < text.size(); }

BiffString EncodeCellText(std::string_view text) {
  text = CutToCellLimit(text);
  BiffString encoded;
  std::u32string codePoints;
  if (IsAscii(text) || !DecodeUtf8(text, codePoints)) {
    encoded.characters = static_cast<std::uint16_t>(text.size());
    encoded.bytes = text;
    return encoded;
  }
  encoded.wide = true;
  encoded.bytes.reserve(codePoints.size() * 2);
  for (char32_t code : codePoints) PutUtf16(encoded.bytes, code);
  encoded.characters = static_cast<std::uint16_t>(encoded.bytes.size() / 2);
  return encoded;
}

void SharedStrings::Grow() {
  slots_.assign(std::max<std::size_t>(slots_.size() * 2, 1024), 0);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = 0; i < strings_.size(); ++i) {
    std::size_t slot = strings_[i].hash & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<std::uint32_t>(i + 1);
  }
}

std::uint32_t SharedStrings::Add(std::string_view text) {
  ++total_;
  text = CutToCellLimit(text);
  if ((strings_.size() + 1) * 2 > slots_.size()) Grow();
  const std::size_t hash = std::hash<std::string_view>{}(text);
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = hash & mask;
  for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const Stored& stored = strings_[slots_[slot] - 1];
    if (stored.hash == hash && Text(stored) == text) return slots_[slot] - 1;
  }
  strings_.push_back({bytes_.size(), text.size(), hash});
  bytes_.append(text);
  slots_[slot] = static_cast<std::uint32_t>(strings_.size());
  return slots_[slot] - 1;
}

void SharedStrings::PutRecords(std::string& stream) const {
  // The EXTSST record points at every dsst-th string, so a reader can find a string quickly.
  // Its count is 16 bits wide; a table of more than 8 million strings gets larger buckets.
  const std::uint32_t stringsPerBucket =
      std::clamp<std::uint32_t>(UniqueCount() / 128 + 1, 8, 0xFFFF);
  std::string buckets;
  {
    ContinuedRecord sst(stream, kSstRecord);
    std::string counts;
    putU32le(counts, total_);
    putU32le(counts, UniqueCount());
    sst.PutWhole(counts);
    for (std::uint32_t i = 0; i < UniqueCount(); ++i) {
      const ContinuedRecord::Place place = sst.PutString(EncodeCellText(Text(strings_[i])));
      if (i % stringsPerBucket == 0) {
        putU32le(buckets, static_cast<std::uint32_t>(place.streamOffset));
        putU16le(buckets, static_cast<std::uint16_t>(place.offsetInRecord));
        putU16le(buckets, 0);
      }
    }
  }
  std::string extSst;
  putU16le(extSst, static_cast<std::uint16_t>(stringsPerBucket));
  extSst += buckets;
  PutRecord(stream, kExtSstRecord, extSst);
}

}  // namespace quorlin
