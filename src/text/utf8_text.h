// Strict UTF-8: telling it apart from other bytes and decoding it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// No overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The code points of `bytes` into `codePoints` (cleared first); false, with `codePoints`
// unspecified, when the bytes are not strict UTF-8.
bool DecodeUtf8(std::string_view bytes, std::u32string& codePoints);

// How many bytes the UTF-8 form of `code` takes.
std::size_t Utf8Length(char32_t code);

}  // namespace quorlin
