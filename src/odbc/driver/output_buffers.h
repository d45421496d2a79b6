// Copying results into the buffers applications pass to ODBC calls.
#pragma once

#include <sql.h>

#include <cstring>
#include <string_view>

namespace quorlin::driver {

// Copies `text` with a terminating NUL into a buffer of `bufferLength` bytes, cutting it when
// it does not fit, and stores the full length. True when it was cut.
template <typename Length>
bool CopyString(std::string_view text, SQLPOINTER buffer, SQLLEN bufferLength, Length* fullLength) {
  if (fullLength != nullptr) *fullLength = static_cast<Length>(text.size());
  if (buffer == nullptr) return false;  // only the length was asked for
  if (bufferLength <= 0) return !text.empty();
  const std::size_t room = static_cast<std::size_t>(bufferLength) - 1;
  const std::size_t count = text.size() < room ? text.size() : room;
  std::memcpy(buffer, text.data(), count);
  static_cast<char*>(buffer)[count] = '\0';
  return count < text.size();
}

template <typename T>
void Store(SQLPOINTER target, T value) {
  if (target != nullptr) std::memcpy(target, &value, sizeof value);
}

}  // namespace quorlin::driver
