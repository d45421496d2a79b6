#include "export/pipeline/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "export/export_paths.h"
#include "platform/file_error.h"

namespace quorlin {

namespace {

// The mode a newly created file gets: 0666 less the process's mask, read once.
mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

std::string StandInName(const std::string& folder, const std::string& name) {
  static std::atomic<unsigned> counter{0};
  return folder + "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(counter++) + ".part";
}

}  // namespace

StagedFile::StagedFile(const std::string& path, Placement placement) : path_(path), destination_(path) {
  if (placement == Placement::Direct) {
    direct_ = true;
    sink_ = std::make_unique<FileSink>(path);
    return;
  }
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) destination_ = resolved;
  }
  const bool exists = ::stat(destination_.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) throw FileError(CreateFailureMessage(path, EISDIR));
  if (exists && !S_ISREG(info.st_mode)) {
    direct_ = true;
    sink_ = std::make_unique<FileSink>(path);
    return;
  }
  // Replacing a file needs only its folder's permission; a file the user may not write stays.
  if (exists && S_ISREG(info.st_mode) && ::access(destination_.c_str(), W_OK) != 0) {
    throw FileError(CreateFailureMessage(path, errno));
  }
  const std::string folder = FolderOf(destination_);
  const std::string name = destination_.substr(folder.size());
  if (name.empty()) throw FileError(CreateFailureMessage(path, EISDIR));
  // Starts readable by the user only; the final mode is given when it is complete.
  int fd = ::open(folder.c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0600);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      hiddenName_ = StandInName(folder, name);
      fd = ::open(hiddenName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) hiddenName_.clear();
  }
  if (fd < 0) throw FileError(CreateFailureMessage(path, errno));
  sink_ = std::make_unique<FileSink>(path, FileSink::Opened{fd});
}

StagedFile::~StagedFile() { Drop(); }

void StagedFile::PutInPlace() {
  if (done_) return;
  if (direct_) {
    done_ = true;
    sink_->Close();
    return;
  }
  sink_->Flush();
  const int fd = sink_->Descriptor();
  struct stat old {};
  const mode_t mode = ::stat(destination_.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode();
  const auto fail = [this](int error) {
    Drop();
    throw FileError("Unable to write to " + path_ + ": " + std::strerror(error));
  };
  if (::fchmod(fd, mode) != 0) fail(errno);
  std::string named = hiddenName_;
  if (named.empty()) {
    // An unnamed file gets a name of its own first: only a rename replaces a file at once.
    const std::string folder = FolderOf(destination_);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
      named = StandInName(folder, destination_.substr(folder.size()));
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, named.c_str(), AT_SYMLINK_FOLLOW) == 0) break;
      if (errno != EEXIST) fail(errno);
      named.clear();
    }
    if (named.empty()) fail(EEXIST);
    hiddenName_ = named;
  }
  if (::rename(named.c_str(), destination_.c_str()) != 0) fail(errno);
  hiddenName_.clear();
  done_ = true;
  sink_->Close();
}

void StagedFile::Drop() {
  if (done_) return;
  done_ = true;
  if (!hiddenName_.empty()) ::unlink(hiddenName_.c_str());
  if (direct_) {
    try {
      sink_->Close();
    } catch (const FileError&) {
      // What could not be written is lost either way; the export already failed.
    }
    return;
  }
  // Closing an unnamed file removes it; nothing reaches the destination.
  sink_.reset();
}

}  // namespace quorlin
