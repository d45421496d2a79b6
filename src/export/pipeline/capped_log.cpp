#include "export/pipeline/capped_log.h"

#include <cstring>
#include <string>

namespace quorlin {

void CappedLog::Write(std::string_view bytes) {
  while (!bytes.empty() && left_ > 0) {
    const auto* end = static_cast<const char*>(std::memchr(bytes.data(), '\n', bytes.size()));
    if (end == nullptr) {
      log_.Write(bytes);
      return;
    }
    const auto length = static_cast<std::size_t>(end - bytes.data()) + 1;
    log_.Write(bytes.substr(0, length));
    bytes.remove_prefix(length);
    --left_;
  }
  // Past the limit only the line ends are counted. An empty view may point nowhere, which
  // memchr must not be given even for no bytes.
  if (bytes.empty()) return;
  const char* at = bytes.data();
  const char* const last = at + bytes.size();
  while (const auto* end = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(last - at)))) {
    ++leftOut_;
    at = end + 1;
  }
}

void CappedLog::Close() {
  if (!closed_ && leftOut_ > 0) {
    log_.Write(std::to_string(leftOut_) + " more lines were left out of this log\r\n");
  }
  closed_ = true;
}

}  // namespace quorlin
