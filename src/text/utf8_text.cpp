#include "text/utf8_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace quorlin {

namespace {

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8SequenceAt(std::string_view text, char32_t& codePoint) {
  if (text.empty()) return 0;
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  codePoint = value;
  return length;
}

// The bytes are loaded as a few overlapping words, with no branch per byte: most values are
// short ASCII text, whose lengths vary from one to the next.
bool IsAscii(std::string_view bytes) {
  const char* const data = bytes.data();
  const std::size_t size = bytes.size();
  const auto load = [data](std::size_t at, auto word) {
    std::memcpy(&word, data + at, sizeof word);
    return std::uint64_t{word};
  };
  std::uint64_t bits = 0;
  if (size >= 8) {
    for (std::size_t at = 0; at + 8 <= size; at += 8) bits |= load(at, std::uint64_t{});
    bits |= load(size - 8, std::uint64_t{});
  } else if (size >= 4) {
    bits = load(0, std::uint32_t{}) | load(size - 4, std::uint32_t{});
  } else {
    for (std::size_t at = 0; at < size; ++at) bits |= static_cast<unsigned char>(data[at]);
  }
  return (bits & 0x8080808080808080ULL) == 0;
}

bool IsValidUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return true;
  char32_t code = 0;
  while (!bytes.empty()) {
    // Most text is ASCII: eight bytes without a high bit need no decoding.
    if (bytes.size() >= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data(), sizeof word);
      if ((word & 0x8080808080808080ULL) == 0) {
        bytes.remove_prefix(8);
        continue;
      }
    }
    if (static_cast<unsigned char>(bytes.front()) < 0x80) {
      bytes.remove_prefix(1);
      continue;
    }
    const std::size_t length = Utf8SequenceAt(bytes, code);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

bool DecodeUtf8(std::string_view bytes, std::u32string& codePoints) {
  codePoints.clear();
  char32_t code = 0;
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceAt(bytes, code);
    if (length == 0) return false;
    codePoints.push_back(code);
    bytes.remove_prefix(length);
  }
  return true;
}

void AppendUtf16(std::string_view bytes, std::u16string& out) {
  out.reserve(out.size() + bytes.size());
  if (IsAscii(bytes) || !IsValidUtf8(bytes)) {
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) out[start + i] = static_cast<unsigned char>(bytes[i]);
    return;
  }
  char32_t code = 0;
  while (!bytes.empty()) {
    bytes.remove_prefix(Utf8SequenceAt(bytes, code));
    if (code < 0x10000) {
      out += static_cast<char16_t>(code);
    } else {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    }
  }
}

std::size_t Utf8Length(char32_t code) {
  if (code < 0x80) return 1;
  if (code < 0x800) return 2;
  return code < 0x10000 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::size_t Utf8CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

std::size_t Utf8Advance(std::string_view text, std::size_t from, std::size_t count) {
  std::size_t at = std::min(from, text.size());
  for (; count > 0 && at < text.size(); --count) {
    ++at;
    while (at < text.size() && IsContinuation(text[at])) ++at;
  }
  return at;
}

namespace {

// The start and length of the valid UTF-8 character that byte `at` continues, if any.
std::optional<std::pair<std::size_t, std::size_t>> CharacterAround(std::string_view text, std::size_t at) {
  if (at >= text.size() || !IsContinuation(text[at])) return std::nullopt;
  const std::size_t lowest = at >= 3 ? at - 3 : 0;
  std::size_t start = at;
  while (start > lowest && IsContinuation(text[start])) --start;
  char32_t code = 0;
  const std::size_t length = Utf8SequenceAt(text.substr(start), code);
  if (length <= at - start) return std::nullopt;
  return std::pair{start, length};
}

}  // namespace

std::size_t Utf8CutBefore(std::string_view text, std::size_t at) {
  at = std::min(at, text.size());
  const auto character = CharacterAround(text, at);
  return character ? character->first : at;
}

std::size_t Utf8CutAfter(std::string_view text, std::size_t at) {
  at = std::min(at, text.size());
  const auto character = CharacterAround(text, at);
  return character ? character->first + character->second : at;
}

std::string CutAtCharacter(std::string_view text, std::size_t limit) {
  return std::string(text.substr(0, Utf8CutBefore(text, limit)));
}

void AppendAsUtf8(std::string& out, std::string_view bytes) {
  if (IsValidUtf8(bytes)) {
    out.append(bytes);
    return;
  }
  out.reserve(out.size() + bytes.size() * 2);
  for (const char byte : bytes) {
    AppendUtf8(out, static_cast<unsigned char>(byte));
  }
}

std::string AsUtf8(std::string_view bytes) {
  std::string text;
  AppendAsUtf8(text, bytes);
  return text;
}

}  // namespace quorlin
