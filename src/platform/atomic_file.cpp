#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/file_error.h"

namespace quorlin {

namespace {

[[noreturn]] void FailWrite(const std::string& path) { throw FileError("Unable to write to " + path); }

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Root passes every access() check, so a file or folder without any write bit counts as
// read-only for everyone; that is how a user marks a Schema.INI as not to be touched.
bool Writable(const std::string& path, mode_t mode) {
  return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Writing through a symbolic link must replace its target, not the link.
std::string ResolvedTarget(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A temporary file beside the target, removed again unless it has been renamed into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& folder, const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string base = target.substr(target.rfind('/') + 1);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = folder + "/." + base + "." + std::to_string(::getpid()) + "." +
              std::to_string(counter++) + ".tmp";
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Opened() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }
  bool RenameTo(const std::string& target) {
    committed_ = ::rename(path_.c_str(), target.c_str()) == 0;
    return committed_;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path) {
  // Without O_NONBLOCK a FIFO at the path would hang the read until a writer appears.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

std::string ReadForRewrite(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return {};
  std::optional<std::string> bytes = ReadRegularFile(path);
  if (!bytes) FailWrite(path);
  return std::move(*bytes);
}

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string target = ResolvedTarget(path);
  const std::string folder = FolderOf(target);
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || !Writable(target, old.st_mode))) FailWrite(path);
  struct stat folderInfo;
  if (::stat(folder.c_str(), &folderInfo) != 0 || !Writable(folder, folderInfo.st_mode)) FailWrite(path);

  TemporaryFile temporary(folder, target);
  if (!temporary.Opened() || !WriteAll(temporary.Fd(), bytes) ||
      (exists && ::fchmod(temporary.Fd(), old.st_mode & 07777) != 0) || ::fsync(temporary.Fd()) != 0 ||
      !temporary.Close() || !temporary.RenameTo(target)) {
    FailWrite(path);
  }
  // The rename itself only survives a crash once the folder is synced; the new file is already
  // complete, so a failure here no longer concerns its contents.
  Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Get() >= 0) ::fsync(folderFd.Get());
}

}  // namespace quorlin
