#include "export/pipeline/scratch_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/file_error.h"

namespace quorlin {

ScratchFile::ScratchFile(const std::string& prefix) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) folder = "/tmp";
  std::string pattern = (folder / (prefix + "-XXXXXX")).string();
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) {
    throw FileError("Cannot create a temporary file in " + folder.string() + ": " + std::strerror(errno));
  }
  path_ = pattern;
}

ScratchFile::~ScratchFile() {
  ::close(fd_);
  ::unlink(path_.c_str());
}

void ScratchFile::CopyInto(ByteSink& out) const {
  constexpr std::size_t kBlockSize = 1 << 20;
  const auto block = std::make_unique<char[]>(kBlockSize);
  off_t offset = 0;
  for (;;) {
    const ssize_t count = ::pread(fd_, block.get(), kBlockSize, offset);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw FileError("Cannot read back the temporary file " + path_ + ": " + std::strerror(errno));
    if (count == 0) return;
    out.Write(std::string_view(block.get(), static_cast<std::size_t>(count)));
    offset += count;
  }
}

}  // namespace quorlin
