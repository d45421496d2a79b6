#include "text/utf8_text.h"

namespace quorlin {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes the sequence at `i` into `code` and moves `i` past it; false when it is not strict
// UTF-8.
bool NextCodePoint(std::string_view bytes, std::size_t& i, char32_t& code) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    ++i;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return false;
  }
  if (bytes.size() - i < length) return false;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(bytes[i + k]);
    if (!IsContinuation(c)) return false;
    code = (code << 6) | (c & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  i += length;
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  char32_t code = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    if (!NextCodePoint(bytes, i, code)) return false;
  }
  return true;
}

bool DecodeUtf8(std::string_view bytes, std::u32string& codePoints) {
  codePoints.clear();
  char32_t code = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    if (!NextCodePoint(bytes, i, code)) return false;
    codePoints.push_back(code);
  }
  return true;
}

std::size_t Utf8Length(char32_t code) {
  if (code < 0x80) return 1;
  if (code < 0x800) return 2;
  return code < 0x10000 ? 3 : 4;
}

}  // namespace quorlin
