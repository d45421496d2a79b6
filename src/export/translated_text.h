// Writing values for markup in place: the copy of plain text, inline as every value of every
// record of an HTML or XML export comes here, and the byte-by-byte way for any other text.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "export/checked_copy.h"
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

}  // namespace translated_text

// TranslateSpecialChars of `value`, written at `out`, which has room for
// kMostTranslatedBytesPerByte times the value's size; gives the end of what was written.
inline char* PutTranslated(char* out, std::string_view value) {
  const std::string_view trimmed = Trim(value);
  if (CopyCheckedWords(out, trimmed.data(), trimmed.size(), translated_text::AllPlain)) {
    return out + trimmed.size();
  }
  return PutTranslatedBytes(out, trimmed);
}

}  // namespace quorlin
