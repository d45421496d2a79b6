#include "text/field_mark.h"

#include "text/utf8_text.h"

namespace quorlin {

std::string_view LeadingCharacter(std::string_view text) {
  if (text.empty()) return {};
  // A single byte is all there is of it, whatever it is; record cutting asks for every record.
  if (text.size() == 1) return text;
  char32_t code = 0;
  const std::size_t length = Utf8SequenceAt(text, code);
  return text.substr(0, length == 0 ? 1 : length);
}

std::string MarkBytes(std::string_view character, bool decoded) {
  if (decoded || !IsOneCharacter(character)) return std::string(character);
  char32_t code = 0;
  if (Utf8SequenceAt(character, code) > 1 && code <= 0xFF) return std::string(1, static_cast<char>(code));
  return std::string(character);
}

}  // namespace quorlin
