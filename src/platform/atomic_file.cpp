// Reading files whole, and replacing them safely under a folder lock.
#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/file_paths.h"

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

// The file a write of `path` goes to. A symbolic link is followed only to a file of the same
// name that belongs to the user: a link planted in a shared folder must not turn a save into
// a write to someone else's file, or to a data file of the folder.
std::string WriteTarget(const std::string& path) {
  struct stat link;
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) {
    struct stat target;
    if (::stat(resolved, &target) == 0 && S_ISREG(target.st_mode) && target.st_uid == ::geteuid() &&
        EqualNoCase(FileNameOf(resolved), FileNameOf(path))) {
      return resolved;
    }
  }
  std::error_code error;
  const std::string pointee = std::filesystem::read_symlink(path, error).string();
  throw FileError("Unable to write to " + path + ": it is a symbolic link to " + pointee +
                  ", not to a " + FileNameOf(path) + " of your own");
}

// Held from reading a file to replacing it. The lock is on the folder, not the file, since
// the file is replaced by another one; it leaves nothing behind. Where the folder cannot be
// opened or locked the rewrite goes ahead unlocked, as it always could.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : folder_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (folder_.Get() < 0) return;
    while (::flock(folder_.Get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }

 private:
  Descriptor folder_;
};

// Temporary copies are named "." + file name + "." + process id + "." + counter + ".tmp".
std::string CopyPrefix(const std::string& name) { return "." + name + "."; }

bool IsCopyName(std::string_view entry, const std::string& name) {
  const std::string prefix = CopyPrefix(name);
  if (!entry.starts_with(prefix) || !entry.ends_with(".tmp")) return false;
  const std::string_view numbers = entry.substr(prefix.size(), entry.size() - prefix.size() - 4);
  const std::size_t dot = numbers.find('.');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dot != std::string_view::npos && digits(numbers.substr(0, dot)) && digits(numbers.substr(dot + 1));
}

// Every rewrite holds the folder's lock while its copy exists, so a copy found by the lock's
// holder was left by a rewrite that was killed.
void RemoveLeftCopies(const std::string& folder, const std::string& name) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    if (IsCopyName(entries->path().filename().string(), name)) ::unlink(entries->path().c_str());
  }
}

// A temporary file beside the target, removed again unless it has been renamed into place.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& folder, const std::string& name, mode_t mode) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = folder + CopyPrefix(name) + std::to_string(::getpid()) + "." +
              std::to_string(counter++) + ".tmp";
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
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

// A new file belongs to whoever writes it: only the owner's own rewrite, or the superuser's,
// can hand it the old owner and group.
bool TakesOwnerOf(const TemporaryFile& copy, const struct stat& old) {
  if (old.st_uid == ::geteuid() && old.st_gid == ::getegid()) return true;
  return ::fchown(copy.Fd(), old.st_uid, old.st_gid) == 0;
}

// Keeps the file itself, its owner, group, mode and links, at the price of a window in which
// a crash leaves it half written.
void RewriteInPlace(const std::string& target, std::string_view bytes, const std::string& path) {
  const Descriptor file(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (file.Get() < 0 || !WriteAll(file.Get(), bytes) ||
      ::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(file.Get()) != 0) {
    FailWrite(path);
  }
}

std::optional<std::string> ReadOpened(int fd, off_t size) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

void Rewrite(const std::string& path, const FileEdit& edit, bool readsCurrent) {
  const std::string target = WriteTarget(path);
  const std::string folder = FolderOf(target);
  const std::string name = FileNameOf(target);
  const FolderLock lock(folder);
  RemoveLeftCopies(folder, name);

  struct stat old;
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) FailWrite(path);
  // Only a regular file's bytes can be carried over; a link appearing here is not followed.
  if (exists && !S_ISREG(old.st_mode)) FailWrite(path);
  std::string current;
  if (exists && readsCurrent) {
    std::optional<std::string> bytes = ReadRegularFile(target);
    if (!bytes) FailWrite(path);
    current = std::move(*bytes);
  }
  struct stat folderInfo;
  const bool writable = (!exists || Writable(target, old.st_mode)) &&
                        ::stat(folder.c_str(), &folderInfo) == 0 && Writable(folder, folderInfo.st_mode);

  // The copy starts without any permission and only then gets the old file's, so that it is
  // never readable by more users than the old file.
  std::optional<TemporaryFile> copy;
  if (writable) copy.emplace(folder, name, exists ? 0 : 0666);
  const std::optional<std::string> bytes = edit(current);
  if (!bytes) return;
  if (!copy || !copy->Opened()) FailWrite(path);
  if (exists && !TakesOwnerOf(*copy, old)) {
    copy.reset();
    RewriteInPlace(target, *bytes, path);
    return;
  }
  if ((exists && ::fchmod(copy->Fd(), old.st_mode & 07777) != 0) || !WriteAll(copy->Fd(), *bytes) ||
      ::fsync(copy->Fd()) != 0 || !copy->Close() || !copy->RenameTo(target)) {
    FailWrite(path);
  }
  // The rename itself only survives a crash once the folder is synced; the new file is already
  // complete, so a failure here no longer concerns its contents.
  const Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Get() >= 0) ::fsync(folderFd.Get());
}

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path) {
  // Without O_NONBLOCK a FIFO at the path would hang the read until a writer appears.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info;
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return ReadOpened(file.Get(), info.st_size);
}

std::optional<std::string> ReadExistingFile(const std::string& path) {
  const auto fail = [&path](const char* cause) -> FileError {
    return FileError("Cannot read " + path + ": " + cause);
  };
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    throw fail(std::strerror(errno));
  }
  struct stat info;
  if (::fstat(file.Get(), &info) != 0) throw fail(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw fail("it is a folder");
  if (!S_ISREG(info.st_mode)) throw fail("it is not a regular file");
  std::optional<std::string> bytes = ReadOpened(file.Get(), info.st_size);
  if (!bytes) throw fail(std::strerror(errno));
  return bytes;
}

void RewriteFile(const std::string& path, const FileEdit& edit) { Rewrite(path, edit, true); }

void ReplaceFile(const std::string& path, std::string_view bytes) {
  Rewrite(path, [bytes](const std::string&) { return std::string(bytes); }, false);
}

}  // namespace quorlin
