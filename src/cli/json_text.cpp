// JSON strings from byte texts and the field records every command prints.
#include "cli/json_text.h"

namespace quorlin {

std::string JsonText(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80) {
      text += byte;
    } else {
      text += static_cast<char>(0xC0 | (code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
}

nlohmann::ordered_json JsonTextArray(const std::vector<std::string>& texts) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const std::string& text : texts) array.push_back(JsonText(text));
  return array;
}

nlohmann::ordered_json FieldJson(const FieldSpec& field) {
  nlohmann::ordered_json object;
  object["name"] = JsonText(field.name);
  object["type"] = JsonText(field.typeName);
  object["width"] = JsonText(field.width);
  if (field.format) object["format"] = JsonText(*field.format);
  return object;
}

nlohmann::ordered_json FieldListJson(const FieldList& fields) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const FieldSpec& field : fields) array.push_back(FieldJson(field));
  return array;
}

}  // namespace quorlin
