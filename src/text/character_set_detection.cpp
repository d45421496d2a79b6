#include "text/character_set_detection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "text/byte_order_mark.h"
#include "text/utf8_text.h"

namespace quorlin {

namespace {

// Text in a one-byte or UTF-8 form never holds a zero byte; UTF-16 of Latin text holds one
// in every other place, always the same one.
std::optional<CharacterSet> UnmarkedUtf16(std::string_view head) {
  std::size_t evenZeros = 0;
  std::size_t oddZeros = 0;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (head[i] == '\0') ++(i % 2 == 0 ? evenZeros : oddZeros);
  }
  const std::size_t units = head.size() / 2;
  if (units == 0) return std::nullopt;
  if (evenZeros == 0 && oddZeros * 4 >= units) return CharacterSet::Utf16(false);
  if (oddZeros == 0 && evenZeros * 4 >= units) return CharacterSet::Utf16(true);
  return std::nullopt;
}

}  // namespace

CharacterSet DetectCharacterSet(std::string_view head, bool cut) {
  switch (ByteOrderMarkOf(head)) {
    case ByteOrderMark::Utf8:
      return CharacterSet::Utf8();
    case ByteOrderMark::Utf16Le:
      return CharacterSet::Utf16(false);
    case ByteOrderMark::Utf16Be:
      return CharacterSet::Utf16(true);
    case ByteOrderMark::Utf32:
      return CharacterSet();
    case ByteOrderMark::None:
      break;
  }
  if (std::optional<CharacterSet> wide = UnmarkedUtf16(head)) return *wide;
  if (cut) {
    // The last three bytes may hold the start of a character the probe cut.
    for (std::size_t drop = 0; drop <= 3 && drop <= head.size(); ++drop) {
      if (IsValidUtf8(head.substr(0, head.size() - drop))) return CharacterSet::Utf8();
    }
    return CharacterSet::Ansi();
  }
  return IsValidUtf8(head) ? CharacterSet::Utf8() : CharacterSet::Ansi();
}

CharacterSet DetectFileCharacterSet(const std::string& path) {
  // Non-blocking, so that a named pipe at the path cannot hang the look.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return CharacterSet();
  struct stat info {};
  std::vector<char> head(kCharacterSetProbeBytes);
  std::size_t got = 0;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    while (got < head.size()) {
      const ssize_t count = ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
      if (count <= 0) break;
      got += static_cast<std::size_t>(count);
    }
  }
  ::close(fd);
  return DetectCharacterSet(std::string_view(head.data(), got), got == head.size());
}

}  // namespace quorlin
