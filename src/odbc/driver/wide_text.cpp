#include "odbc/driver/wide_text.h"

#include <algorithm>
#include <cstring>

#include "text/utf8_text.h"

namespace quorlin::driver {

namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string NarrowText(const SQLWCHAR* text, SQLINTEGER length) {
  if (text == nullptr) return {};
  std::size_t count = 0;
  if (length == SQL_NTS) {
    while (text[count] != 0) ++count;
  } else if (length > 0) {
    count = static_cast<std::size_t>(length);
  }
  std::string out;
  out.reserve(count);
  for (std::size_t at = 0; at < count; ++at) {
    const char16_t unit = text[at];
    if (IsHighSurrogate(unit) && at + 1 < count && IsLowSurrogate(text[at + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[at + 1] - 0xDC00));
      ++at;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::optional<std::string> OptionalNarrowText(const SQLWCHAR* text, SQLSMALLINT length) {
  if (text == nullptr) return std::nullopt;
  return NarrowText(text, length);
}

bool CopyWideString(std::string_view text, SQLPOINTER buffer, SQLLEN bufferLength, SQLSMALLINT* fullLength,
                    WideUnit unit) {
  std::u16string wide;
  AppendUtf16(text, wide);
  const SQLLEN scale = unit == WideUnit::Bytes ? static_cast<SQLLEN>(sizeof(SQLWCHAR)) : 1;
  if (fullLength != nullptr) *fullLength = static_cast<SQLSMALLINT>(static_cast<SQLLEN>(wide.size()) * scale);
  if (buffer == nullptr) return false;  // only the length was asked for
  const SQLLEN room = bufferLength / scale;
  if (room <= 0) return !wide.empty();
  std::size_t count = std::min(wide.size(), static_cast<std::size_t>(room - 1));
  if (count < wide.size() && count > 0 && IsHighSurrogate(wide[count - 1])) --count;
  auto* units = static_cast<SQLWCHAR*>(buffer);
  static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
  std::memcpy(units, wide.data(), count * sizeof(SQLWCHAR));
  units[count] = 0;
  return count < wide.size();
}

}  // namespace quorlin::driver
