// Deciding how a byte text is read as characters, and reading it so.
#include "platform/utf8_text.h"

#include <algorithm>

namespace quorlin {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The code point of the sequence at `i` and its length, or 0 as length when it is not valid.
std::size_t DecodeAt(std::string_view bytes, std::size_t i, char32_t& code) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(bytes[i + k]);
    if (!IsContinuation(c)) return 0;
    code = (code << 6) | (c & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  char32_t code = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = DecodeAt(bytes, i, code);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void AppendUtf16(std::string_view bytes, std::u16string& out) {
  out.reserve(out.size() + bytes.size());
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii || !IsValidUtf8(bytes)) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) out[start + i] = static_cast<unsigned char>(bytes[i]);
    return;
  }
  char32_t code = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    i += DecodeAt(bytes, i, code);
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
  }
}

}  // namespace quorlin
