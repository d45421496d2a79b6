// Byte texts as JSON strings: UTF-8 passes through, anything else is read as Latin-1.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "schema/field_layout.h"
#include "text/utf8_text.h"

namespace quorlin {

// `bytes` unchanged when it is valid UTF-8, otherwise every byte as the character of its code.
std::string JsonText(std::string_view bytes);

nlohmann::ordered_json JsonTextArray(const std::vector<std::string>& texts);

// JsonText of `bytes` written as a JSON string, escaped as nlohmann::json escapes it, without
// a copy of the text: a preview's cells may be megabytes long.
void WriteJsonString(std::ostream& out, std::string_view bytes);
// The JSON array of the texts, and FieldJson, written the same way.
void WriteJsonTexts(std::ostream& out, const std::vector<std::string>& texts);
void WriteFieldJson(std::ostream& out, const FieldSpec& field);

// A saved number as a JSON number, or null when the text holds no whole number: the same key
// has the same type in every command's output.
nlohmann::ordered_json JsonWholeNumber(std::string_view text);

// {"name", "type", "width"[, "format"]}, the width a number
nlohmann::ordered_json FieldJson(const FieldSpec& field);
nlohmann::ordered_json FieldListJson(const FieldList& fields);

}  // namespace quorlin
