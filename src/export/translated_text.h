// Writing values for markup in place: the copy of plain text, inline as every value of every
// record of an HTML or XML export comes here, and the byte-by-byte way for any other text.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/trim.h"

namespace quorlin {

// The most bytes TranslateSpecialChars makes of one byte: a lone byte above 127 gives six
// ("&#255;"), every other byte fewer.
constexpr std::size_t kMostTranslatedBytesPerByte = 6;

// TranslateSpecialChars of an already trimmed text that holds a byte to translate or drop,
// written at `out` (room for kMostTranslatedBytesPerByte times its size); gives the end.
char* PutTranslatedBytes(char* out, std::string_view trimmed);

namespace translated_text {

// Whether all eight bytes of `word` are printable ASCII other than "&", "<" and ">", found
// without looking at the bytes one by one: most values are plain text throughout. A zero byte
// of x sets its high bit in (x - kOnes) & ~x (a higher byte may be set too, which does not
// matter for "any"); "<" and ">" differ only in their bit 1, so one test finds both.
inline bool AllPlain(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  const std::uint64_t ampersands = word ^ (kOnes * '&');
  const std::uint64_t angles = (word | kOnes * 2) ^ (kOnes * '>');
  const std::uint64_t marks = ((ampersands - kOnes) & ~ampersands) | ((angles - kOnes) & ~angles) |
                              ((word - kOnes * 0x20) & ~word) | word;
  return (marks & kHighBits) == 0;
}

template <typename Word>
Word Load(const char* at) {
  Word word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Copies `text` to `out` when every byte of it is copied unchanged, as in most values; false
// (with `out` partly written) otherwise. Eight bytes are looked at and copied at a time, the
// last ones and those of a short text as overlapping pieces, never outside `text`.
inline bool CopyPlain(char* out, const char* text, std::size_t size) {
  if (size >= 8) {
    const std::size_t last = size - 8;
    for (std::size_t i = 0; i < last; i += 8) {
      const auto word = Load<std::uint64_t>(text + i);
      if (!AllPlain(word)) return false;
      std::memcpy(out + i, &word, sizeof word);
    }
    const auto word = Load<std::uint64_t>(text + last);
    if (!AllPlain(word)) return false;
    std::memcpy(out + last, &word, sizeof word);
    return true;
  }
  if (size >= 4) {
    const auto low = Load<std::uint32_t>(text);
    const auto high = Load<std::uint32_t>(text + size - 4);
    if (!AllPlain(low | static_cast<std::uint64_t>(high) << 32)) return false;
    std::memcpy(out, &low, sizeof low);
    std::memcpy(out + size - 4, &high, sizeof high);
    return true;
  }
  if (size == 0) return true;
  // One to three bytes: the first, the middle and the last are all of them, in blanks.
  const char first = text[0], middle = text[size / 2], last = text[size - 1];
  const std::uint64_t word = 0x2020202020000000ULL | static_cast<unsigned char>(first) |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(middle)) << 8 |
                             static_cast<std::uint64_t>(static_cast<unsigned char>(last)) << 16;
  if (!AllPlain(word)) return false;
  out[0] = first;
  out[size / 2] = middle;
  out[size - 1] = last;
  return true;
}

}  // namespace translated_text

// TranslateSpecialChars of `value`, written at `out`, which has room for
// kMostTranslatedBytesPerByte times the value's size; gives the end of what was written.
inline char* PutTranslated(char* out, std::string_view value) {
  const std::string_view trimmed = Trim(value);
  if (translated_text::CopyPlain(out, trimmed.data(), trimmed.size())) return out + trimmed.size();
  return PutTranslatedBytes(out, trimmed);
}

}  // namespace quorlin
