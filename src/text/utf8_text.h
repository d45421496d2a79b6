// Strict UTF-8: telling it apart from other bytes and decoding it. Byte texts that are not
// UTF-8 are read as Latin-1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// No overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The length of the valid UTF-8 sequence at the start of `text` and its code point in
// `codePoint`, or 0 when it does not start with one (a lone byte, an overlong form, a
// surrogate). ASCII counts as a sequence of one.
std::size_t Utf8SequenceAt(std::string_view text, char32_t& codePoint);

// The code points of `bytes` into `codePoints` (cleared first); false, with `codePoints`
// unspecified, when the bytes are not strict UTF-8.
bool DecodeUtf8(std::string_view bytes, std::u32string& codePoints);

// The characters of `bytes` (UTF-8 when valid, else one Latin-1 character per byte) appended
// as UTF-16 code units.
void AppendUtf16(std::string_view bytes, std::u16string& out);

// `bytes` unchanged when it is valid UTF-8, otherwise every byte as the Latin-1 character of
// its code; AppendAsUtf8 appends the same to `out`.
std::string AsUtf8(std::string_view bytes);
void AppendAsUtf8(std::string& out, std::string_view bytes);

// How many bytes the UTF-8 form of `code` takes.
std::size_t Utf8Length(char32_t code);

}  // namespace quorlin
