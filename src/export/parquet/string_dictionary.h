// The distinct values of a column chunk, numbered in order of appearance, in one flat table:
// strings, or the plain bytes of fixed-width values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin::parquet {

class StringDictionary {
 public:
  // How the dictionary page holds an entry: with its length before it (strings), or as it is
  // (numbers of one width, at most eight bytes).
  enum class EntryForm { WithLength, FixedWidth };

  explicit StringDictionary(EntryForm form = EntryForm::WithLength);

  // The number of `value`, given it anew when it is new (then `added` is set).
  std::uint32_t IndexOf(std::string_view value, bool& added);

  std::size_t Size() const { return starts_.size(); }
  std::string_view Entry(std::uint32_t number) const;
  // The entries in plain encoding, as a dictionary page holds them.
  const std::string& PlainEntries() const { return plain_; }
  void Clear();

 private:
  // Small, so that the table of a few thousand dates or names stays in the cache.
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t entry = 0;  // the entry's number plus one; 0 for a free slot
  };

  // Gives `value` the next number.
  std::uint32_t Add(std::string_view value);
  std::size_t SlotOf(std::uint32_t hash) const { return hash >> shift_; }
  void Grow();

  // Numbers of four bytes near the first one, as days and counts are, are found by their
  // distance from it: no hash to work out, and values near each other are near in memory.
  static constexpr std::uint32_t kNearSpan = 1 << 14;
  std::vector<std::uint32_t> near_;  // an entry's number plus one, by distance; 0 for none
  std::uint32_t nearBase_ = 0;
  std::vector<Slot> slots_;  // the values that are not near
  std::size_t hashed_ = 0;
  std::vector<std::uint32_t> starts_;  // where each entry's bytes begin in plain_
  std::string plain_;
  int shift_ = 32;        // a hash's slot is its top bits, as many as the table's size takes
  std::uint32_t prefix_;  // bytes of length before each entry
  bool fixedWidth_;
};

}  // namespace quorlin::parquet
