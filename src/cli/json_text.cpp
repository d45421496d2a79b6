// JSON strings from byte texts and the field records every command prints.
#include "cli/json_text.h"

#include "text/integer_text.h"

namespace quorlin {

std::string JsonText(std::string_view bytes) { return AsUtf8(bytes); }

nlohmann::ordered_json JsonTextArray(const std::vector<std::string>& texts) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const std::string& text : texts) array.push_back(JsonText(text));
  return array;
}

namespace {

// One byte of the JSON text as nlohmann::json writes it: quotes, backslashes and control
// characters escaped, everything else as it is.
void WriteEscaped(std::ostream& out, char c) {
  switch (c) {
    case '"': out << "\\\""; return;
    case '\\': out << "\\\\"; return;
    case '\b': out << "\\b"; return;
    case '\f': out << "\\f"; return;
    case '\n': out << "\\n"; return;
    case '\r': out << "\\r"; return;
    case '\t': out << "\\t"; return;
    default: break;
  }
  if (static_cast<unsigned char>(c) < 0x20) {
    static constexpr char kHex[] = "0123456789abcdef";
    out << "\\u00" << kHex[(c >> 4) & 0xF] << kHex[c & 0xF];
  } else {
    out << c;
  }
}

}  // namespace

void WriteJsonString(std::ostream& out, std::string_view bytes) {
  out << '"';
  for (const char byte : AsUtf8(bytes)) WriteEscaped(out, byte);
  out << '"';
}

void WriteJsonTexts(std::ostream& out, const std::vector<std::string>& texts) {
  out << '[';
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) out << ',';
    WriteJsonString(out, texts[i]);
  }
  out << ']';
}

void WriteFieldJson(std::ostream& out, const FieldSpec& field) {
  out << "{\"name\":";
  WriteJsonString(out, field.name);
  out << ",\"type\":";
  WriteJsonString(out, field.typeName);
  out << ",\"width\":" << JsonWholeNumber(field.width).dump();
  if (field.format) {
    out << ",\"format\":";
    WriteJsonString(out, *field.format);
  }
  out << '}';
}

nlohmann::ordered_json JsonWholeNumber(std::string_view text) {
  try {
    return ToInteger(text);
  } catch (const ConversionError&) {
    return nullptr;
  }
}

nlohmann::ordered_json FieldJson(const FieldSpec& field) {
  nlohmann::ordered_json object;
  object["name"] = JsonText(field.name);
  object["type"] = JsonText(field.typeName);
  object["width"] = JsonWholeNumber(field.width);
  if (field.format) object["format"] = JsonText(*field.format);
  return object;
}

nlohmann::ordered_json FieldListJson(const FieldList& fields) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const FieldSpec& field : fields) array.push_back(FieldJson(field));
  return array;
}

}  // namespace quorlin
