// Byte texts as JSON strings: UTF-8 passes through, anything else is read as Latin-1.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/utf8_text.h"
#include "schema/field_layout.h"
#include "text/utf8_text.h"

namespace quorlin {

// `bytes` unchanged when it is valid UTF-8, otherwise every byte as the character of its code.
std::string JsonText(std::string_view bytes);

nlohmann::ordered_json JsonTextArray(const std::vector<std::string>& texts);

// {"name", "type", "width"[, "format"]}
nlohmann::ordered_json FieldJson(const FieldSpec& field);
nlohmann::ordered_json FieldListJson(const FieldList& fields);

}  // namespace quorlin
