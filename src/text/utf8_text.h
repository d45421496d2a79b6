// Strict UTF-8: telling it apart from other bytes and decoding it. Byte texts that are not
// UTF-8 are read as Latin-1.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorlin {

// Whether no byte has its high bit set.
bool IsAscii(std::string_view bytes);
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

// Appends the UTF-8 form of `code` (a Latin-1 byte's code is its character's).
void AppendUtf8(std::string& out, char32_t code);

// The characters of decoded (valid UTF-8) text: its bytes that do not continue a sequence.
std::size_t Utf8CharacterCount(std::string_view text);

// The byte offset `count` characters on from byte offset `from` of decoded text, at most its
// size.
std::size_t Utf8Advance(std::string_view text, std::size_t from, std::size_t count);

// Where to cut UTF-8 text at byte offset `at` (at most its size) without splitting a character:
// back to the start of the character `at` falls in, or on past its end. Bytes that continue no
// character (text that is not UTF-8) are stepped over three at the most, as a character has
// no more.
std::size_t Utf8CutBefore(std::string_view text, std::size_t at);
std::size_t Utf8CutAfter(std::string_view text, std::size_t at);

// The first `limit` bytes of `text` or fewer, never a character split.
std::string CutAtCharacter(std::string_view text, std::size_t limit);

}  // namespace quorlin
