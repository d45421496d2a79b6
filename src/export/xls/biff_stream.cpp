#include "export/xls/biff_stream.h"

#include <algorithm>

#include "export/little_endian.h"

namespace quorlin {

namespace {

constexpr std::size_t kRecordHeaderSize = 4;
constexpr std::size_t kStringHeaderSize = 3;  // character count and flags

// Whether the UTF-16LE unit at `at` starts a surrogate pair.
bool IsHighSurrogate(std::string_view bytes, std::size_t at) {
  const auto high = static_cast<unsigned char>(bytes[at + 1]);
  return high >= 0xD8 && high <= 0xDB;
}

}  // namespace

void PutRecord(std::string& stream, std::uint16_t id, std::string_view data) {
  putU16le(stream, id);
  putU16le(stream, static_cast<std::uint16_t>(data.size()));
  stream.append(data);
}

ContinuedRecord::ContinuedRecord(std::string& stream, std::uint16_t id)
    : stream_(stream), recordStart_(stream.size()) {
  putU16le(stream_, id);
  putU16le(stream_, 0);
}

ContinuedRecord::~ContinuedRecord() { CloseRecord(); }

std::size_t ContinuedRecord::Room() const {
  return kMaxRecordData - (stream_.size() - recordStart_ - kRecordHeaderSize);
}

void ContinuedRecord::CloseRecord() {
  storeU16le(stream_, recordStart_ + 2,
             static_cast<std::uint16_t>(stream_.size() - recordStart_ - kRecordHeaderSize));
}

void ContinuedRecord::StartContinue() {
  CloseRecord();
  recordStart_ = stream_.size();
  putU16le(stream_, kContinueRecord);
  putU16le(stream_, 0);
}

void ContinuedRecord::PutWhole(std::string_view bytes) {
  if (bytes.size() > Room()) StartContinue();
  stream_.append(bytes);
}

ContinuedRecord::Place ContinuedRecord::PutString(const BiffString& text) {
  const std::size_t unit = text.wide ? 2 : 1;
  const char flags = text.wide ? 0x01 : 0x00;
  // The bytes of `bytes`' first `room` that end with a whole character: a surrogate pair is
  // one character, which readers cannot take from two records.
  const auto wholeCharacters = [&](std::string_view bytes, std::size_t room) {
    std::size_t piece = std::min(bytes.size(), room / unit * unit);
    if (text.wide && piece < bytes.size() && piece >= 2 && IsHighSurrogate(bytes, piece - 2)) piece -= 2;
    return piece;
  };
  const std::size_t firstCharacter = text.bytes.empty() ? 0 : text.wide && IsHighSurrogate(text.bytes, 0) ? 4 : unit;
  if (Room() < kStringHeaderSize + firstCharacter) StartContinue();
  const Place start{stream_.size(), stream_.size() - recordStart_};
  putU16le(stream_, text.characters);
  stream_.push_back(flags);

  std::string_view rest = text.bytes;
  for (;;) {
    const std::size_t piece = wholeCharacters(rest, Room());
    stream_.append(rest.substr(0, piece));
    rest.remove_prefix(piece);
    if (rest.empty()) return start;
    StartContinue();
    stream_.push_back(flags);
  }
}

}  // namespace quorlin
