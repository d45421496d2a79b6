// The workbook's shared-string table and its SST and EXTSST records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "export/xls/biff_stream.h"

namespace quorlin {

// The most characters a cell's text may hold.
inline constexpr std::size_t kMaxCellCharacters = 32767;

// `text` as a cell stores it: valid UTF-8 that is not plain ASCII as the UTF-16 string it
// encodes, any other bytes one byte per character; cut at kMaxCellCharacters characters (a
// UTF-16 surrogate pair is never cut in two).
BiffString EncodeCellText(std::string_view text);

// Each distinct text is stored once; cells refer to it by its index.
class SharedStrings {
 public:
  // The index of `text` (cut as EncodeCellText cuts it), adding it when it is new.
  std::uint32_t Add(std::string_view text);

  std::uint32_t UniqueCount() const { return static_cast<std::uint32_t>(order_.size()); }
  std::uint32_t TotalCount() const { return total_; }

  // Appends the SST record (going on in CONTINUE records) and the EXTSST record that indexes
  // it, with stream offsets counted from the start of `stream`.
  void PutRecords(std::string& stream) const;

 private:
  std::unordered_map<std::string, std::uint32_t> index_;
  std::vector<const std::string*> order_;  // keys of index_, by index
  std::uint32_t total_ = 0;
};

}  // namespace quorlin
