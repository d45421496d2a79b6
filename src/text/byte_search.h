// Finding one byte in a short stretch of text without a library call per search.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorlin {

// The first `c` in [from, end), or `end`. Fields and values are short, where a call to memchr
// costs more than the search itself: eight bytes are looked at per step, and only a stretch
// longer than that is handed to memchr, which is faster on long runs.
inline const char* FindByte(const char* from, const char* end, char c) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  constexpr int kWordSteps = 8;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  for (int step = 0; std::endian::native == std::endian::little && step < kWordSteps && end - from >= 8;
       ++step, from += 8) {
    std::uint64_t word;
    std::memcpy(&word, from, sizeof word);
    const std::uint64_t diff = word ^ pattern;
    // The lowest byte that is zero in `diff` sets its high bit here; bytes above it may too,
    // which does not matter as the lowest one is taken (the words are read little-endian).
    const std::uint64_t zero = (diff - kOnes) & ~diff & kHighBits;
    if (zero != 0) return from + (std::countr_zero(zero) >> 3);
  }
  if (end - from >= 8) {
    const void* found = std::memchr(from, static_cast<unsigned char>(c), static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
  }
  while (from != end && *from != c) ++from;
  return from;
}

}  // namespace quorlin
