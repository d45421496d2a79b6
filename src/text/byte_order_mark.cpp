// Recognising byte order marks and telling the user what to do with UTF-32 text.
#include "text/byte_order_mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

ByteOrderMark ByteOrderMarkOf(std::string_view firstBytes) {
  using namespace std::string_view_literals;
  // UTF-32 little-endian starts with the UTF-16 little-endian mark, so it is tried first.
  if (firstBytes.starts_with("\xEF\xBB\xBF"sv)) return ByteOrderMark::Utf8;
  if (firstBytes.starts_with("\xFF\xFE\0\0"sv) || firstBytes.starts_with("\0\0\xFE\xFF"sv)) {
    return ByteOrderMark::Utf32;
  }
  if (firstBytes.starts_with("\xFF\xFE"sv)) return ByteOrderMark::Utf16Le;
  if (firstBytes.starts_with("\xFE\xFF"sv)) return ByteOrderMark::Utf16Be;
  return ByteOrderMark::None;
}

std::size_t MarkLength(ByteOrderMark mark) {
  switch (mark) {
    case ByteOrderMark::Utf8:
      return 3;
    case ByteOrderMark::Utf16Le:
    case ByteOrderMark::Utf16Be:
      return 2;
    case ByteOrderMark::Utf32:
      return 4;
    case ByteOrderMark::None:
      break;
  }
  return 0;
}

std::string WideTextMessage(const std::string& path) {
  return path + " is UTF-32 text, which cannot be read: save it as UTF-8 (a spreadsheet's " +
         "\"CSV UTF-8\", or iconv -f UTF-32 -t UTF-8) and open that copy";
}

std::optional<std::string> WideTextRefusal(const std::string& path) {
  // Non-blocking, so that a named pipe at the path cannot hang the check.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  char first[4];
  ssize_t got = -1;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) got = ::pread(fd, first, sizeof first, 0);
  ::close(fd);
  if (got <= 0) return std::nullopt;
  if (ByteOrderMarkOf(std::string_view(first, static_cast<std::size_t>(got))) != ByteOrderMark::Utf32) {
    return std::nullopt;
  }
  return WideTextMessage(path);
}

}  // namespace quorlin
