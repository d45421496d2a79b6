#include "export/paradox/code_page_text.h"

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
  const bool ascii = std::all_of(text.begin(), text.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii || !IsValidUtf8(text)) return std::string(text);
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

}  // namespace quorlin
