#include "export/pipeline/byte_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

#include "platform/file_error.h"

namespace quorlin {

std::string CreateFailureMessage(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return "Cannot create " + path + ": the folder does not exist";
    case EACCES:
    case EPERM:
    case EROFS:
      return "Access denied: " + path;
    case EISDIR:
      return path + " is a folder, not a file";
    case ENXIO:
      return "Cannot create " + path + ": it is a named pipe that nothing reads";
    default:
      return "Cannot create " + path + ": " + std::strerror(error);
  }
}

FileSink::FileSink(std::string path, std::size_t bufferSize)
    : path_(std::move(path)), capacity_(bufferSize == 0 ? 1 : bufferSize) {
  // A named pipe without a reader would block the open for ever; without O_NONBLOCK it fails
  // instead, and the writes that follow block as usual.
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd_ < 0) throw FileError(CreateFailureMessage(path_, errno));
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) < 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    throw FileError(CreateFailureMessage(path_, error));
  }
  buffer_.reset(new char[capacity_]);
  bufferSize_ = capacity_;
}

FileSink::FileSink(std::string path, Opened file, std::size_t bufferSize)
    : path_(std::move(path)), fd_(file.fd), capacity_(bufferSize == 0 ? 1 : bufferSize) {
  buffer_.reset(new char[capacity_]);
  bufferSize_ = capacity_;
}

std::unique_ptr<FileSink> FileSink::OnDescriptor(int descriptor, std::string name, std::size_t bufferSize) {
  const int fd = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (fd < 0) throw FileError("Cannot write to " + name + ": " + std::strerror(errno));
  return std::make_unique<FileSink>(std::move(name), Opened{fd}, bufferSize);
}

FileSink::~FileSink() {
  if (fd_ >= 0) ::close(fd_);
}

void FileSink::Fail(int error) {
  throw FileError("Unable to write to " + path_ + ": " + std::strerror(error));
}

void FileSink::WriteThrough(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    // What reached the file stays counted, so a later WriteAt still finds its offsets.
    flushed_ += static_cast<std::uint64_t>(count);
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void FileSink::Flush() {
  if (fd_ < 0) Fail(EBADF);
  const std::uint64_t before = flushed_;
  try {
    WriteThrough(std::string_view(buffer_.get(), used_));
  } catch (...) {
    // What reached the file leaves the buffer; the rest stays for a later attempt.
    const auto written = static_cast<std::size_t>(flushed_ - before);
    std::memmove(buffer_.get(), buffer_.get() + written, used_ - written);
    used_ -= written;
    throw;
  }
  used_ = 0;
}

void FileSink::Write(std::string_view bytes) {
  if (fd_ < 0) Fail(EBADF);
  if (bytes.empty()) return;
  // A large piece goes straight to the file after what waits: copying it into the buffer
  // first would cost more than the extra call.
  if (bytes.size() >= kDirectWriteBytes || bytes.size() > capacity_) {
    Flush();
    WriteThrough(bytes);
    return;
  }
  if (used_ + bytes.size() <= capacity_) {
    std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
    return;
  }
  Flush();
  std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  used_ = bytes.size();
}

std::span<char> FileSink::Reserve(std::size_t size) {
  if (fd_ < 0) Fail(EBADF);
  if (bufferSize_ - used_ < size) {
    Flush();
    if (bufferSize_ < size) {
      buffer_.reset(new char[size]);
      bufferSize_ = size;
    }
  }
  return {buffer_.get() + used_, size};
}

void FileSink::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (fd_ < 0) Fail(EBADF);
  if (offset + bytes.size() > Size()) Fail(EINVAL);
  // The part that is still in the buffer is patched there, the rest written in place.
  std::size_t inFile = 0;
  if (offset < flushed_) {
    inFile = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), flushed_ - offset));
    std::size_t done = 0;
    while (done < inFile) {
      const ssize_t count = ::pwrite(fd_, bytes.data() + done, inFile - done,
                                     static_cast<off_t>(offset + done));
      if (count < 0) {
        if (errno == EINTR) continue;
        Fail(errno);
      }
      done += static_cast<std::size_t>(count);
    }
  }
  if (inFile < bytes.size()) {
    const std::size_t at = static_cast<std::size_t>(offset + inFile - flushed_);
    std::memcpy(buffer_.get() + at, bytes.data() + inFile, bytes.size() - inFile);
  }
}

void FileSink::Close() {
  if (fd_ < 0) return;
  try {
    Flush();
  } catch (...) {
    ::close(fd_);
    fd_ = -1;
    throw;
  }
  const int result = ::close(fd_);
  fd_ = -1;
  // A writer of many files keeps their sinks to the end; closed ones need no buffer.
  buffer_.reset();
  bufferSize_ = 0;
  if (result != 0 && errno != EINTR) Fail(errno);
}

void CloseEverySink(const std::vector<std::unique_ptr<ByteSink>>& sinks) {
  std::exception_ptr first;
  for (const auto& sink : sinks) {
    try {
      sink->Close();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

std::span<char> ByteSink::Reserve(std::size_t size) {
  staged_.resize(size);
  return {staged_.data(), size};
}

void ByteSink::Commit(std::size_t used) { Write(std::string_view(staged_.data(), used)); }

void MemorySink::WriteAt(std::uint64_t offset, std::string_view bytes) {
  if (offset + bytes.size() > bytes_.size()) {
    throw FileError("Unable to write to memory: offset " + std::to_string(offset) + " lies past the end");
  }
  bytes_.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
}

}  // namespace quorlin
