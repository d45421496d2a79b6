// Recognising byte order marks and telling the user what to do with wide text.
#include "text/byte_order_mark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorlin {

ByteOrderMark ByteOrderMarkOf(std::string_view firstBytes) {
  using namespace std::string_view_literals;
  // UTF-32 little-endian starts with the UTF-16 little-endian mark, so it is tried first.
  if (firstBytes.starts_with("\xEF\xBB\xBF"sv)) return ByteOrderMark::kUtf8;
  if (firstBytes.starts_with("\xFF\xFE\0\0"sv) || firstBytes.starts_with("\0\0\xFE\xFF"sv)) {
    return ByteOrderMark::kUtf32;
  }
  if (firstBytes.starts_with("\xFF\xFE"sv) || firstBytes.starts_with("\xFE\xFF"sv)) {
    return ByteOrderMark::kUtf16;
  }
  return ByteOrderMark::kNone;
}

std::string WideTextMessage(const std::string& path, ByteOrderMark mark) {
  const std::string form = mark == ByteOrderMark::kUtf32 ? "UTF-32" : "UTF-16";
  return path + " is " + form + " text, which cannot be read: save it as UTF-8 (a spreadsheet's " +
         "\"CSV UTF-8\", or iconv -f " + form + " -t UTF-8) and open that copy";
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
  const ByteOrderMark mark = ByteOrderMarkOf(std::string_view(first, static_cast<std::size_t>(got)));
  if (mark != ByteOrderMark::kUtf16 && mark != ByteOrderMark::kUtf32) return std::nullopt;
  return WideTextMessage(path, mark);
}

}  // namespace quorlin
