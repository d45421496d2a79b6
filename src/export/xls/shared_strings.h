// The workbook's shared-string table and its SST and EXTSST records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/xls/biff_stream.h"

namespace quorlin {

// The most characters a cell's text may hold.
inline constexpr std::size_t kMaxCellCharacters = 32767;

// `text` as a cell stores it: valid UTF-8 that is not plain ASCII as the UTF-16 string it
// encodes, any other bytes one byte per character; cut at kMaxCellCharacters characters (a
// UTF-16 surrogate pair is never cut in two).
BiffString EncodeCellText(std::string_view text);

// Whether a cell keeps less than the whole of `text`.
bool CutInCell(std::string_view text);

// Each distinct text is stored once; cells refer to it by its index. The texts lie one after
// the other in one buffer, found again through an open-addressing table of their indexes, so a
// table of many short strings costs no allocation per string.
class SharedStrings {
 public:
  // The index of `text` (cut as EncodeCellText cuts it), adding it when it is new.
  std::uint32_t Add(std::string_view text);

  std::uint32_t UniqueCount() const { return static_cast<std::uint32_t>(strings_.size()); }
  std::uint32_t TotalCount() const { return total_; }

  // Appends the SST record (going on in CONTINUE records) and the EXTSST record that indexes
  // it, with stream offsets counted from the start of `stream`.
  void PutRecords(std::string& stream) const;

 private:
  struct Stored {
    std::size_t offset;
    std::size_t length;
    std::size_t hash;
  };
  std::string_view Text(const Stored& stored) const {
    return std::string_view(bytes_).substr(stored.offset, stored.length);
  }
  void Grow();

  std::string bytes_;
  std::vector<Stored> strings_;      // by index
  std::vector<std::uint32_t> slots_;  // index + 1 of the string in each slot, 0 when empty
  std::uint32_t total_ = 0;
};

}  // namespace quorlin
