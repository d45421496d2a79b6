// Turning a file's bytes in its character set into UTF-8, piece by piece.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/character_set.h"

namespace quorlin {

// Decodes a stream of bytes of one set into UTF-8. A byte, or a character cut short, that is
// not valid in the set becomes one U+FFFD and is counted; a sequence cut by the end of a piece is kept for
// the next one. Single-byte sets go through a table that iconv fills once, so that decoding
// costs about what copying does; the wide sets go through iconv itself.
class TextDecoder {
 public:
  // The most UTF-8 bytes one input byte can become (a byte of a code page above U+07FF, or a
  // lone invalid byte as U+FFFD).
  static constexpr std::size_t kMostBytesPerByte = 3;
  static constexpr std::size_t kMostPendingBytes = 3;

  // For any set but the legacy default, which is never decoded.
  explicit TextDecoder(const CharacterSet& set);
  ~TextDecoder();
  TextDecoder(const TextDecoder&) = delete;
  TextDecoder& operator=(const TextDecoder&) = delete;

  // Room `out` needs for decoding `size` more bytes.
  static constexpr std::size_t Room(std::size_t size) {
    return (size + kMostPendingBytes) * kMostBytesPerByte;
  }

  // Decodes `size` bytes at `in` into `out` (with Room(size) bytes); gives the bytes written.
  std::size_t Decode(const char* in, std::size_t size, char* out);
  // The end of the stream: a sequence still pending is invalid. Writes at most Room(0) bytes.
  std::size_t Finish(char* out);
  // Starts a new stream: nothing pending, nothing counted.
  void Reset();

  // Replacement characters put in since the stream began.
  std::int64_t Replaced() const { return replaced_; }
  // Bytes read but not decoded yet: the start of a sequence cut by the end of a piece.
  std::size_t Pending() const { return pendingSize_; }

 private:
  struct Encoded {
    std::array<char, 3> bytes{};
    unsigned char size = 0;
    bool valid = true;
  };

  // Decodes what `in` holds whole; gives the bytes written and sets `consumed` to the bytes
  // used, which leaves out a cut sequence at the end unless `last`.
  std::size_t Run(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed);
  std::size_t RunSingleByte(const char* in, std::size_t size, char* out, std::size_t& consumed);
  std::size_t RunUtf8(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed);
  std::size_t RunWide(const char* in, std::size_t size, char* out, bool last, std::size_t& consumed);
  char* PutReplacement(char* out);

  CharacterSetKind kind_;
  void* converter_ = nullptr;  // iconv's, for the wide sets
  std::array<Encoded, 256> table_{};  // for single-byte sets
  bool asciiIsAscii_ = false;  // the table keeps bytes below 128 as they are
  std::array<char, kMostPendingBytes + 1> pending_{};
  std::size_t pendingSize_ = 0;
  std::int64_t replaced_ = 0;
};

// `bytes` of `set` as UTF-8 (the legacy default leaves them as they are), adding the
// replaced bytes to `*replaced` when given.
std::string DecodeText(std::string_view bytes, const CharacterSet& set, std::int64_t* replaced = nullptr);

// Makes every value of `values` that is not valid UTF-8 valid, each invalid byte or cut
// character one U+FFFD, by pointing it into `storage` (cleared first; room is made once, so
// earlier views stay valid). Gives how many were put in. For fixed-length UTF-8 lines, which
// are cut by their bytes before their values can be checked.
std::int64_t ReplaceInvalidUtf8(std::vector<std::string_view>& values, std::string& storage);

}  // namespace quorlin
