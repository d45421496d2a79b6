// Byte texts read as characters: UTF-8 when the bytes are valid UTF-8, otherwise Latin-1.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The characters of `bytes` (UTF-8 when valid, else one Latin-1 character per byte) appended
// as UTF-16 code units.
void AppendUtf16(std::string_view bytes, std::u16string& out);

}  // namespace quorlin
