// The distinct strings of a column chunk, numbered in order of appearance, in one flat table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin::parquet {

class StringDictionary {
 public:
  // The number of `value`, given it anew when it is new (then `added` is set).
  std::uint32_t IndexOf(std::string_view value, bool& added);

  std::size_t Size() const { return starts_.size(); }
  // The entries in plain encoding, as a dictionary page holds them.
  const std::string& PlainEntries() const { return plain_; }
  void Clear();

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t entry = 0;  // the entry's number plus one; 0 for a free slot
  };

  std::string_view Entry(std::uint32_t number) const;
  void Grow();

  std::vector<Slot> slots_;
  std::vector<std::uint32_t> starts_;  // where each entry's bytes begin in plain_
  std::string plain_;
};

}  // namespace quorlin::parquet
