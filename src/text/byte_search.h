// Finding one byte in a short stretch of text without a library call per search.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorlin {

// The high bit of each byte of `word` that equals the byte repeated in `pattern`, exactly
// (no byte is marked because of its neighbour).
inline std::uint64_t EqualBytes(std::uint64_t word, std::uint64_t pattern) {
  constexpr std::uint64_t kLowSevenBits = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t diff = word ^ pattern;
  return ~(((diff & kLowSevenBits) + kLowSevenBits) | diff | kLowSevenBits);
}

// The first `c` in [from, end), or `end`. Fields and values are short, where a call to memchr
// costs more than the search itself: sixteen bytes are compared per step where the processor
// can (eight elsewhere), and only a stretch longer than a few steps is handed to memchr, which
// is faster on long runs.
inline const char* FindByte(const char* from, const char* end, char c) {
#if defined(__SSE2__)
  constexpr int kWordSteps = 1;  // for the tail shorter than sixteen bytes
  const __m128i wanted = _mm_set1_epi8(c);
  for (int step = 0; step < 4 && end - from >= 16; ++step, from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const unsigned found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
    if (found != 0) return from + std::countr_zero(found);
  }
#else
  constexpr int kWordSteps = 8;
#endif
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
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

// How many times `c` occurs in [from, end): sixteen bytes are compared at a time where the
// processor can, as counting the lines of a file of gigabytes comes down to this.
inline std::size_t CountByte(const char* from, const char* end, char c) {
  std::size_t count = 0;
#if defined(__SSE2__)
  const __m128i pattern = _mm_set1_epi8(c);
  while (end - from >= 16) {
    // Each byte of `matches` counts up to 255 matches before the bytes are summed.
    __m128i matches = _mm_setzero_si128();
    const char* const stop = from + std::min<std::ptrdiff_t>((end - from) / 16, 255) * 16;
    for (; from != stop; from += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
      matches = _mm_sub_epi8(matches, _mm_cmpeq_epi8(bytes, pattern));
    }
    const __m128i sums = _mm_sad_epu8(matches, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; from != end; ++from) count += *from == c ? 1 : 0;
  return count;
}

}  // namespace quorlin
