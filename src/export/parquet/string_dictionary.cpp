#include "export/parquet/string_dictionary.h"

#include <cstring>

#include "export/little_endian.h"

namespace quorlin::parquet {

namespace {

constexpr std::size_t kFirstSlots = 1024;

// Short values hashed eight bytes at a time by multiplying: cheaper than the library's hash,
// which every value of an indexed column would pay for. Each step can be undone, so values of
// one length up to eight bytes have hashes of their own.
std::uint64_t HashBytes(std::string_view bytes) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  std::uint64_t hash = bytes.size() * kMultiplier;
  std::size_t at = 0;
  for (; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 29;
  }
  std::uint64_t tail = 0;
  if (at < bytes.size()) std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
  hash = (hash ^ tail) * kMultiplier;
  return hash ^ (hash >> 32);
}

}  // namespace

std::string_view StringDictionary::Entry(std::uint32_t number) const {
  const std::uint32_t start = starts_[number];
  const std::uint32_t end = number + 1 < starts_.size() ? starts_[number + 1] - prefix_ : static_cast<std::uint32_t>(plain_.size());
  return std::string_view(plain_).substr(start, end - start);
}

void StringDictionary::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? kFirstSlots : old.size() * 2, Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].entry != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

StringDictionary::StringDictionary(EntryForm form)
    : prefix_(form == EntryForm::WithLength ? 4 : 0), hashIsValue_(form == EntryForm::FixedWidth) {}

std::uint32_t StringDictionary::IndexOf(std::string_view value, bool& added) {
  // Kept at most half full, so that a search meets a free slot soon.
  if ((starts_.size() + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = HashBytes(value);
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  for (; slots_[at].entry != 0; at = (at + 1) & mask) {
    if (slots_[at].hash == hash && (hashIsValue_ || Entry(slots_[at].entry - 1) == value)) {
      added = false;
      return slots_[at].entry - 1;
    }
  }
  const auto number = static_cast<std::uint32_t>(starts_.size());
  if (prefix_ != 0) putU32le(plain_, static_cast<std::uint32_t>(value.size()));
  starts_.push_back(static_cast<std::uint32_t>(plain_.size()));
  plain_.append(value);
  slots_[at] = Slot{hash, number + 1};
  added = true;
  return number;
}

void StringDictionary::Clear() {
  slots_.clear();
  starts_.clear();
  plain_.clear();
}

}  // namespace quorlin::parquet
