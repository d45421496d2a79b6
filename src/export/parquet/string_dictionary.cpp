#include "export/parquet/string_dictionary.h"

#include <bit>
#include <cstring>

#include "export/little_endian.h"

namespace quorlin::parquet {

namespace {

constexpr std::size_t kFirstSlots = 1024;

// The last `bytes.size() % 8` bytes of `bytes` (all of it when shorter than eight), loaded
// without a call: as the eight ending there when there are that many, else in overlapping
// parts that together hold every byte, so that values of one length differ in it.
std::uint64_t TailOf(std::string_view bytes) {
  const char* const data = bytes.data();
  const std::size_t size = bytes.size();
  const std::size_t rest = size % 8;
  if (rest == 0) return 0;
  if (size >= 8) {
    std::uint64_t word;
    std::memcpy(&word, data + size - 8, sizeof word);
    return word >> (8 * (8 - rest));
  }
  if (size >= 4) {
    std::uint32_t first, last;
    std::memcpy(&first, data, sizeof first);
    std::memcpy(&last, data + size - 4, sizeof last);
    return first | (std::uint64_t{last} << 32);
  }
  const auto byte = [data](std::size_t at) { return std::uint64_t{static_cast<unsigned char>(data[at])}; };
  return byte(0) | (byte(size / 2) << 8) | (byte(size - 1) << 16);
}

// Values hashed eight bytes at a time by multiplying: cheaper than the library's hash, which
// every value of an indexed column would pay for.
std::uint64_t HashBytes(std::string_view bytes) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
  std::uint64_t hash = bytes.size() * kMultiplier;
  for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    hash = (hash ^ word) * kMultiplier;
    hash ^= hash >> 29;
  }
  hash = (hash ^ TailOf(bytes)) * kMultiplier;
  return hash ^ (hash >> 32);
}

// Whether `entry` is `value`: those of up to sixteen bytes compared as two overlapping words
// each, without a call, as nearly every value of an indexed column is compared once.
bool SameBytes(std::string_view entry, std::string_view value) {
  const std::size_t size = value.size();
  if (entry.size() != size) return false;
  const auto same = [&entry, &value](std::size_t at, auto word) {
    auto other = word;
    std::memcpy(&word, entry.data() + at, sizeof word);
    std::memcpy(&other, value.data() + at, sizeof other);
    return word == other;
  };
  if (size >= 8 && size <= 16) return same(0, std::uint64_t{}) && same(size - 8, std::uint64_t{});
  if (size >= 4 && size < 8) return same(0, std::uint32_t{}) && same(size - 4, std::uint32_t{});
  return entry == value;
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
  shift_ = 32 - std::countr_zero(slots_.size());
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    std::size_t at = SlotOf(slot.hash);
    while (slots_[at].entry != 0) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

StringDictionary::StringDictionary(EntryForm form)
    : prefix_(form == EntryForm::WithLength ? 4 : 0), fixedWidth_(form == EntryForm::FixedWidth) {}

std::uint32_t StringDictionary::Add(std::string_view value) {
  const auto number = static_cast<std::uint32_t>(starts_.size());
  if (prefix_ != 0) putU32le(plain_, static_cast<std::uint32_t>(value.size()));
  starts_.push_back(static_cast<std::uint32_t>(plain_.size()));
  plain_.append(value);
  return number;
}

std::uint32_t StringDictionary::IndexOf(std::string_view value, bool& added) {
  const bool isNumber = fixedWidth_ && value.size() == 4;
  std::uint32_t number = 0;
  if (isNumber) {
    std::memcpy(&number, value.data(), sizeof number);
    if (near_.empty()) {
      near_.assign(kNearSpan, 0);
      nearBase_ = number - kNearSpan / 2;
    }
    if (const std::uint32_t distance = number - nearBase_; distance < kNearSpan) {
      std::uint32_t& entry = near_[distance];
      added = entry == 0;
      if (added) entry = Add(value) + 1;
      return entry - 1;
    }
  }
  // Kept at most half full, so that a search meets a free slot soon.
  if ((hashed_ + 1) * 2 > slots_.size()) Grow();
  // A number of four bytes is multiplied by an odd number, which maps the numbers of four bytes
  // onto themselves: two numbers with one hash are one number, and need no comparing. The top
  // bits of the product, where a slot is found, depend on every bit of the number.
  const std::uint32_t hash = isNumber ? number * 0x9E3779B1U : static_cast<std::uint32_t>(HashBytes(value));
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = SlotOf(hash);
  for (; slots_[at].entry != 0; at = (at + 1) & mask) {
    if (slots_[at].hash == hash && (isNumber || SameBytes(Entry(slots_[at].entry - 1), value))) {
      added = false;
      return slots_[at].entry - 1;
    }
  }
  const std::uint32_t entry = Add(value);
  slots_[at] = Slot{hash, entry + 1};
  ++hashed_;
  added = true;
  return entry;
}

void StringDictionary::Clear() {
  near_.clear();
  hashed_ = 0;
  slots_.clear();
  starts_.clear();
  plain_.clear();
}

}  // namespace quorlin::parquet
