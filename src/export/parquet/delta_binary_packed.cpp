#include "export/parquet/delta_binary_packed.h"

#include <algorithm>
#include <array>
#include <bit>
#include <type_traits>

#include "export/little_endian.h"
#include "export/parquet/varint.h"

namespace quorlin::parquet {

namespace {

constexpr std::size_t kBlockValues = 128;
constexpr std::size_t kMiniblocks = 4;
constexpr std::size_t kMiniblockValues = kBlockValues / kMiniblocks;

void PutZigzag(std::string& out, std::int64_t value) {
  PutVarint(out, (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

// 32 values of `bitWidth` bits each, from the lowest bit of the first byte on: a whole number
// of bytes, as 32 times any width is.
void PutMiniblock(std::string& out, const std::uint64_t* values, int bitWidth) {
  std::uint64_t bits = 0;
  int held = 0;
  for (std::size_t i = 0; i < kMiniblockValues; ++i) {
    const std::uint64_t value = values[i];
    bits |= value << held;
    const int spill = held + bitWidth - 64;
    if (spill >= 0) {
      putU64le(out, bits);
      bits = held == 0 ? 0 : value >> (64 - held);
      held = spill;
    } else {
      held += bitWidth;
    }
  }
  for (; held > 0; held -= 8, bits >>= 8) out.push_back(static_cast<char>(bits & 0xFF));
}

template <typename Value>
void PutDeltas(std::string& out, std::span<const Value> values) {
  using Unsigned = std::make_unsigned_t<Value>;
  PutVarint(out, kBlockValues);
  PutVarint(out, kMiniblocks);
  PutVarint(out, values.size());
  PutZigzag(out, values.empty() ? 0 : values.front());
  std::array<Unsigned, kBlockValues> deltas;
  std::array<std::uint64_t, kBlockValues> packed;
  for (std::size_t start = 1; start < values.size(); start += kBlockValues) {
    const std::size_t count = std::min(kBlockValues, values.size() - start);
    Value least = 0;
    for (std::size_t i = 0; i < count; ++i) {
      deltas[i] = static_cast<Unsigned>(static_cast<Unsigned>(values[start + i]) -
                                        static_cast<Unsigned>(values[start + i - 1]));
      const auto delta = static_cast<Value>(deltas[i]);
      least = i == 0 ? delta : std::min(least, delta);
    }
    PutZigzag(out, least);
    packed.fill(0);
    for (std::size_t i = 0; i < count; ++i) {
      packed[i] = static_cast<Unsigned>(deltas[i] - static_cast<Unsigned>(least));
    }
    // Miniblocks past the values keep a width byte but no bits.
    std::array<int, kMiniblocks> widths{};
    const std::size_t used = (count + kMiniblockValues - 1) / kMiniblockValues;
    for (std::size_t m = 0; m < used; ++m) {
      const auto first = packed.begin() + static_cast<std::ptrdiff_t>(m * kMiniblockValues);
      widths[m] = std::bit_width(*std::max_element(first, first + kMiniblockValues));
    }
    for (const int width : widths) out.push_back(static_cast<char>(width));
    for (std::size_t m = 0; m < used; ++m) PutMiniblock(out, packed.data() + m * kMiniblockValues, widths[m]);
  }
}

}  // namespace

void PutDeltaBinaryPacked(std::string& out, std::span<const std::int32_t> values) { PutDeltas(out, values); }
void PutDeltaBinaryPacked(std::string& out, std::span<const std::int64_t> values) { PutDeltas(out, values); }

}  // namespace quorlin::parquet
