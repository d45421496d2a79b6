#include "cli/scratch_folder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/file_error.h"

namespace quorlin {

ScratchFolder::ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorlin-cli-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw FileError("Cannot create a private folder in " + std::filesystem::temp_directory_path().string() +
                    ": " + std::strerror(errno));
  }
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::File(const std::string& name) const { return path_ + "/" + name; }

std::string ScratchFolder::Spool(std::istream& in, const std::string& name, const std::string& what) const {
  const std::string path = File(name);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) throw FileError("Cannot create " + path + ": " + std::strerror(errno));
  std::vector<char> block(1 << 20);
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const char* at = block.data();
    std::size_t left = static_cast<std::size_t>(in.gcount());
    while (left > 0) {
      const ssize_t written = ::write(fd, at, left);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) {
        const int error = errno;
        ::close(fd);
        throw FileError("Cannot keep " + what + " in " + path + ": " + std::strerror(error));
      }
      at += written;
      left -= static_cast<std::size_t>(written);
    }
  }
  ::close(fd);
  if (in.bad()) throw FileError("Cannot read " + what);
  return path;
}

}  // namespace quorlin
