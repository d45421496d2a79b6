// Reading and writing keyword=value lists.
#include "odbc/driver/connection_string.h"

#include <cstring>

#include "odbc/driver/sql_error.h"
#include "platform/ascii_case.h"
#include "text/record_splitter.h"

namespace quorlin::driver {

std::optional<std::string> ConnectionAttributes::Find(std::string_view key) const {
  for (const auto& [name, value] : pairs_) {
    if (EqualNoCase(name, key)) return value;
  }
  return std::nullopt;
}

void ConnectionAttributes::Add(std::string key, std::string value) {
  pairs_.emplace_back(std::move(key), std::move(value));
}

ConnectionAttributes ParseConnectionString(std::string_view text) {
  ConnectionAttributes attributes;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t equals = text.find('=', at);
    const std::size_t semicolon = text.find(';', at);
    if (equals == std::string_view::npos || semicolon < equals) {
      at = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
      continue;
    }
    const std::string_view key = Trim(text.substr(at, equals - at));
    std::size_t valueStart = equals + 1;
    while (valueStart < text.size() && IsBlankChar(text[valueStart])) ++valueStart;
    std::string value;
    if (valueStart < text.size() && text[valueStart] == '{') {
      std::size_t pos = valueStart + 1;
      for (;;) {
        const std::size_t close = text.find('}', pos);
        if (close == std::string_view::npos) {
          throw SqlError(state::kCannotConnect,
                         "The connection string has a value in braces that is never closed");
        }
        value.append(text.substr(pos, close - pos));
        if (close + 1 < text.size() && text[close + 1] == '}') {
          value += '}';
          pos = close + 2;
          continue;
        }
        pos = close + 1;
        break;
      }
      const std::size_t end = text.find(';', pos);
      at = end == std::string_view::npos ? text.size() : end + 1;
    } else {
      const std::size_t end = text.find(';', valueStart);
      const std::size_t stop = end == std::string_view::npos ? text.size() : end;
      value = Trim(text.substr(valueStart, stop - valueStart));
      at = end == std::string_view::npos ? text.size() : end + 1;
    }
    if (!key.empty()) attributes.Add(std::string(key), std::move(value));
  }
  return attributes;
}

std::string FormatConnectionString(const ConnectionAttributes& attributes) {
  std::string text;
  for (const auto& [key, value] : attributes.Pairs()) {
    text += key;
    text += '=';
    // Braces only where the value would not read back as it stands.
    const bool plain = value.find_first_of(";{}") == std::string::npos && Trim(value) == value;
    if (plain) {
      text += value;
    } else {
      text += '{';
      for (const char c : value) {
        text += c;
        if (c == '}') text += '}';
      }
      text += '}';
    }
    text += ';';
  }
  return text;
}

ConnectionAttributes ParseAttributeList(const char* list) {
  ConnectionAttributes attributes;
  if (list == nullptr) return attributes;
  for (const char* pair = list; *pair != '\0'; pair += std::strlen(pair) + 1) {
    const std::string_view text(pair);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    attributes.Add(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
  }
  return attributes;
}

std::optional<std::string> FolderAttribute(const ConnectionAttributes& attributes) {
  std::optional<std::string> folder = attributes.Find("DefaultDir");
  return folder ? folder : attributes.Find("DBQ");
}

}  // namespace quorlin::driver
