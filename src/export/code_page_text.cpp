#include "export/code_page_text.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "text/utf8_text.h"

namespace quorlin {

CodePageEncoder::CodePageEncoder(const char* codePage)
    : converter_(iconv_open(codePage, "UTF-8")) {
  if (converter_ == reinterpret_cast<void*>(iconv_t(-1))) {
    throw std::runtime_error(std::string("No conversion to ") + codePage);
  }
}

CodePageEncoder::~CodePageEncoder() { iconv_close(static_cast<iconv_t>(converter_)); }

std::optional<std::string> CodePageEncoder::Encode(std::string_view text) {
  if (IsAscii(text) || !IsValidUtf8(text)) return std::string(text);
  std::string out(text.size(), '\0');  // never longer than its UTF-8
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  iconv(static_cast<iconv_t>(converter_), nullptr, nullptr, nullptr, nullptr);
  if (iconv(static_cast<iconv_t>(converter_), &in, &inLeft, &to, &outLeft) == std::size_t(-1)) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

std::string CodePageEncoder::EncodeOrReplace(std::string_view text) {
  if (std::optional<std::string> encoded = Encode(text)) return std::move(*encoded);
  std::string out(text.size(), '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  const auto converter = static_cast<iconv_t>(converter_);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0 && iconv(converter, &in, &inLeft, &to, &outLeft) == std::size_t(-1)) {
    // Only a character the code page lacks stops a conversion of valid UTF-8 that has room.
    char32_t code = 0;
    const std::size_t length = std::max<std::size_t>(1, Utf8SequenceAt(std::string_view(in, inLeft), code));
    in += length;
    inLeft -= length;
    *to++ = '?';
    --outLeft;
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace quorlin
