// Copying short texts eight bytes at a time while checking them: every value of every record
// of a text export passes here, most of them a few bytes long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quorlin {

// Copies `text` to `out` when `allowed(word)` holds for all its bytes, looked at eight at a
// time; false (with `out` partly written) otherwise. The last bytes and those of a short text
// are looked at as overlapping pieces, never outside `text`; a word of fewer bytes is filled up
// with copies of its first one, so `allowed` must judge a word by its bytes one by one.
template <typename Allowed>
inline bool CopyCheckedWords(char* out, const char* text, std::size_t size, Allowed allowed) {
  const auto load = [](const char* at, auto word) {
    std::memcpy(&word, at, sizeof word);
    return word;
  };
  if (size >= 8) {
    const std::size_t last = size - 8;
    for (std::size_t i = 0; i < last; i += 8) {
      const std::uint64_t word = load(text + i, std::uint64_t{});
      if (!allowed(word)) return false;
      std::memcpy(out + i, &word, sizeof word);
    }
    const std::uint64_t word = load(text + last, std::uint64_t{});
    if (!allowed(word)) return false;
    std::memcpy(out + last, &word, sizeof word);
    return true;
  }
  if (size >= 4) {
    const std::uint32_t low = load(text, std::uint32_t{});
    const std::uint32_t high = load(text + size - 4, std::uint32_t{});
    if (!allowed(low | static_cast<std::uint64_t>(high) << 32)) return false;
    std::memcpy(out, &low, sizeof low);
    std::memcpy(out + size - 4, &high, sizeof high);
    return true;
  }
  if (size == 0) return true;
  // One to three bytes: the first, the middle and the last are all of them.
  const char first = text[0], middle = text[size / 2], last = text[size - 1];
  const std::uint64_t word = 0x0101010101000000ULL * static_cast<unsigned char>(first) |
                             static_cast<unsigned char>(first) |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(middle)) << 8 |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(last)) << 16;
  if (!allowed(word)) return false;
  out[0] = first;
  out[size / 2] = middle;
  out[size - 1] = last;
  return true;
}

}  // namespace quorlin
