// A separator or qualifier: one character, found in a record by its bytes.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "text/byte_search.h"

namespace quorlin {

// The first character of `text`: a whole UTF-8 sequence when it starts with one, else its
// first byte; empty for empty text.
std::string_view LeadingCharacter(std::string_view text);

// Whether `text` is exactly one character as LeadingCharacter takes it.
inline bool IsOneCharacter(std::string_view text) {
  return !text.empty() && LeadingCharacter(text).size() == text.size();
}

// The bytes a separator or qualifier (one character, kept as UTF-8 by the layout) is found
// by in a file's lines: itself in lines decoded to UTF-8; in lines handed over as the file's
// bytes, a character up to U+00FF is its Latin-1 byte, as such files have always been cut.
// Any other text (empty, "{none}") stays as it is.
std::string MarkBytes(std::string_view character, bool decoded);

// A separator or qualifier of one byte, as nearly every file has: found eight bytes at a time.
struct ByteMark {
  char byte;

  std::size_t Size() const { return 1; }
  char Lead() const { return byte; }
  bool At(const char* at, const char* end) const { return at != end && *at == byte; }
  const char* Find(const char* from, const char* end) const { return FindByte(from, end, byte); }
};

// A separator or qualifier of several bytes (a UTF-8 sequence). No sequence starts inside
// another in UTF-8, so finding its bytes finds the character.
struct TextMark {
  std::string_view bytes;

  std::size_t Size() const { return bytes.size(); }
  char Lead() const { return bytes.front(); }
  bool At(const char* at, const char* end) const {
    return static_cast<std::size_t>(end - at) >= bytes.size() && std::memcmp(at, bytes.data(), bytes.size()) == 0;
  }
  const char* Find(const char* from, const char* end) const {
    for (const char* at = FindByte(from, end, bytes.front()); at != end; at = FindByte(at + 1, end, bytes.front())) {
      if (At(at, end)) return at;
    }
    return end;
  }
};

}  // namespace quorlin
