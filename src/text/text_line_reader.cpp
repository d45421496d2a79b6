// Line-by-line reading of text files through one large buffer.
#include "text/text_line_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_error.h"

namespace quorlin {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kEndOfFileMark = 26;

std::string ReadFailure(const std::string& path, int error) {
  return "Cannot read " + path + ": " + std::strerror(error);
}

[[noreturn]] void ThrowOpenFailure(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      throw FileError("File not found: " + path);
    case EACCES:
    case EPERM:
      throw FileError("Access denied: " + path);
    case EISDIR:
      throw FileError(path + " is a folder, not a file");
    default:
      throw FileError(ReadFailure(path, error));
  }
}

}  // namespace

TextLineReader::TextLineReader(const std::string& path, std::size_t bufferSize)
    : path_(path), buffer_(bufferSize == 0 ? 1 : bufferSize) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) ThrowOpenFailure(path, errno);
  struct stat info {};
  const int statResult = ::fstat(fd_, &info);
  const int statError = errno;
  if (statResult != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    ThrowOpenFailure(path, statResult != 0 ? statError : EISDIR);
  }
}

TextLineReader::~TextLineReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool TextLineReader::Fill() {
  if (ended_) return false;
  ssize_t count;
  do {
    count = ::read(fd_, buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count < 0) throw FileError(ReadFailure(path_, errno));
  begin_ = 0;
  end_ = static_cast<std::size_t>(count);
  if (count == 0) ended_ = true;
  return count > 0;
}

bool TextLineReader::AtEnd() {
  if (ended_) return true;
  if (begin_ == end_ && !Fill()) return true;
  if (buffer_[begin_] == kEndOfFileMark) ended_ = true;
  return ended_;
}

bool TextLineReader::ReadTextLine(std::string& line) {
  line.clear();
  if (AtEnd()) return false;
  for (;;) {
    if (begin_ == end_ && !Fill()) return true;
    const char* from = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    // Ctrl-Z is rare, so look for the line end first and for Ctrl-Z only before it: every byte
    // is then looked at no more than twice.
    const auto* lineEnd = static_cast<const char*>(std::memchr(from, kCarriageReturn, available));
    const std::size_t upTo = lineEnd ? static_cast<std::size_t>(lineEnd - from) : available;
    if (const auto* mark = static_cast<const char*>(std::memchr(from, kEndOfFileMark, upTo))) {
      line.append(from, static_cast<std::size_t>(mark - from));
      begin_ += static_cast<std::size_t>(mark - from);
      ended_ = true;
      return true;
    }
    line.append(from, upTo);
    begin_ += upTo;
    if (lineEnd == nullptr) continue;
    ++begin_;
    // The line feed of a CR LF pair may arrive with the next fill.
    if ((begin_ < end_ || Fill()) && buffer_[begin_] == kLineFeed) ++begin_;
    return true;
  }
}

void TextLineReader::Rewind() {
  if (::lseek(fd_, 0, SEEK_SET) < 0) throw FileError(ReadFailure(path_, errno));
  begin_ = 0;
  end_ = 0;
  ended_ = false;
}

}  // namespace quorlin
