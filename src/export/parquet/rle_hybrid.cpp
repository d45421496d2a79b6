#include "export/parquet/rle_hybrid.h"

#include <bit>
#include <cstring>

#include "export/parquet/varint.h"

namespace quorlin::parquet {

namespace {

constexpr std::size_t kGroup = 8;

// Bit-packed groups: their count shifted left by one with the low bit set, then the values'
// bits from the lowest bit of the first byte on; a short last group is padded with zeros.
void PutPacked(std::string& out, std::span<const std::uint32_t> values, int bitWidth) {
  if (values.empty()) return;
  const std::size_t groups = (values.size() + kGroup - 1) / kGroup;
  PutVarint(out, (static_cast<std::uint64_t>(groups) << 1) | 1);
  // Eight values of `bitWidth` bits take `bitWidth` bytes.
  const std::size_t start = out.size();
  out.resize(start + groups * static_cast<std::size_t>(bitWidth));
  char* to = out.data() + start;
  // Bits gather in a word and leave it four bytes at a time.
  static_assert(std::endian::native == std::endian::little, "the word's low bytes come first");
  std::uint64_t bits = 0;
  int held = 0;
  const auto put = [&](std::uint32_t value) {
    bits |= static_cast<std::uint64_t>(value) << held;
    held += bitWidth;
    if (held >= 32) {
      const auto low = static_cast<std::uint32_t>(bits);
      std::memcpy(to, &low, sizeof low);
      to += sizeof low;
      bits >>= 32;
      held -= 32;
    }
  };
  for (const std::uint32_t value : values) put(value);
  for (std::size_t i = values.size(); i < groups * kGroup; ++i) put(0);
  for (; held > 0; held -= 8, bits >>= 8) *to++ = static_cast<char>(bits & 0xFF);
}

}  // namespace

void PutRleRun(std::string& out, std::size_t length, std::uint32_t value, int bitWidth) {
  PutVarint(out, static_cast<std::uint64_t>(length) << 1);
  for (int shift = 0; shift < bitWidth; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

int BitWidthFor(std::uint32_t largest) { return largest == 0 ? 1 : std::bit_width(largest); }

void PutRleHybrid(std::string& out, std::span<const std::uint32_t> values, int bitWidth) {
  std::size_t literalStart = 0;
  std::size_t at = 0;
  while (at < values.size()) {
    // Most neighbours differ: they are passed in a loop of their own.
    while (at + 1 < values.size() && values[at] != values[at + 1]) ++at;
    std::size_t runEnd = at + 1;
    while (runEnd < values.size() && values[runEnd] == values[at]) ++runEnd;
    const std::size_t pending = (at - literalStart) % kGroup;
    // Literals go out in whole groups, so a run first lends values to fill the last one.
    const std::size_t lent = pending == 0 ? 0 : kGroup - pending;
    if (runEnd - at >= lent + kGroup) {
      at += lent;
      PutPacked(out, values.subspan(literalStart, at - literalStart), bitWidth);
      PutRleRun(out, runEnd - at, values[at], bitWidth);
      literalStart = runEnd;
    }
    at = runEnd;
  }
  PutPacked(out, values.subspan(literalStart), bitWidth);
}

}  // namespace quorlin::parquet
