// Text in a single-byte code page, converted from UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// Converts to one code page (an iconv name such as "CP1252").
class CodePageEncoder {
 public:
  explicit CodePageEncoder(const char* codePage);
  ~CodePageEncoder();
  CodePageEncoder(const CodePageEncoder&) = delete;
  CodePageEncoder& operator=(const CodePageEncoder&) = delete;

  // Valid UTF-8 as the code page's bytes, or nothing when the code page lacks one of its
  // characters; any other bytes unchanged, since they are taken to be in the code page already.
  std::optional<std::string> Encode(std::string_view text);
  // The same, but a character the code page lacks (U+FFFD among them) becomes "?".
  std::string EncodeOrReplace(std::string_view text);

 private:
  void* converter_;
};

}  // namespace quorlin
