// BIFF8 record headers, and records that go on in CONTINUE records when they outgrow one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorlin {

// The most data bytes one record may carry.
inline constexpr std::size_t kMaxRecordData = 8224;
inline constexpr std::uint16_t kContinueRecord = 0x003C;

// A text as BIFF8 stores it: one byte per character (the compressed form) or UTF-16LE.
struct BiffString {
  std::uint16_t characters = 0;
  bool wide = false;
  std::string bytes;  // characters bytes, or 2 × characters when wide
};

// Appends the record `id` with `data` (at most kMaxRecordData bytes) to `stream`.
void PutRecord(std::string& stream, std::uint16_t id, std::string_view data);

// Builds one record in `stream` whose data may outgrow a record: what does not fit goes on in
// CONTINUE records. Strings are split as readers expect: a string's character count and flags
// stay in one record with at least its first character, no character is split, and a CONTINUE
// that goes on with a string's characters starts with that string's flags byte.
class ContinuedRecord {
 public:
  ContinuedRecord(std::string& stream, std::uint16_t id);
  ContinuedRecord(const ContinuedRecord&) = delete;
  ContinuedRecord& operator=(const ContinuedRecord&) = delete;
  ~ContinuedRecord();

  // Appends bytes that must not be split (a header, a count): a new CONTINUE starts when they
  // do not fit in the current record.
  void PutWhole(std::string_view bytes);
  // Where a string starts: its offset in the stream, and in its record counting the record's
  // 4-byte header.
  struct Place {
    std::size_t streamOffset;
    std::size_t offsetInRecord;
  };
  // Appends a string (character count, flags byte, characters) and tells where it starts.
  Place PutString(const BiffString& text);

 private:
  std::size_t Room() const;
  void StartContinue();
  void CloseRecord();

  std::string& stream_;
  std::size_t recordStart_;
};

}  // namespace quorlin
