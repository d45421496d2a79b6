#include "support/case_names.h"

#include <cctype>
#include <cstdio>

namespace quorlin::testing {
namespace {

std::string_view SpelledOut(char c) {
  switch (c) {
    case ',': return "Comma";
    case '.': return "Dot";
    case '-': return "Minus";
    case '+': return "Plus";
    case '$': return "Dollar";
    case '\t': return "Tab";
    case '\r': return "CR";
    case '\n': return "LF";
    case '\'': return "Apostrophe";
    case '"': return "Quote";
    case '=': return "Is";
    case '/': return "Slash";
    case '\\': return "Backslash";
    case ':': return "Colon";
    case ';': return "Semicolon";
    case '{': return "Brace";
    case '}': return "Unbrace";
    case '[': return "Bracket";
    case ']': return "Unbracket";
    case '(': return "Paren";
    case ')': return "Unparen";
    case '*': return "Star";
    case '|': return "Bar";
    case '#': return "Hash";
    case '%': return "Percent";
    case '&': return "And";
    case '<': return "Less";
    case '>': return "Greater";
    case '?': return "Question";
    case '!': return "Bang";
    case '@': return "At";
    case '~': return "Tilde";
    case '^': return "Caret";
    case '`': return "Backtick";
    default: return {};
  }
}

}  // namespace

std::string CaseName(std::string_view text) {
  if (text.empty()) return "Empty";
  std::string name;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 && byte < 0x80) {
      name += c;
    } else if (c == ' ' || c == '_') {
      name += '_';
    } else if (const std::string_view word = SpelledOut(c); !word.empty()) {
      name += word;
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "X%02X", byte);
      name += hex;
    }
  }
  return name;
}

}  // namespace quorlin::testing
