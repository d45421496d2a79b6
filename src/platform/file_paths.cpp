#include "platform/file_paths.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace quorlin {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string AbsoluteFilePath(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat infoA {};
  if (::stat(a.c_str(), &infoA) != 0) return false;
  // "sub/../data.csv" spells data.csv even while the system cannot follow it (sub missing).
  if (std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal()) return true;
  struct stat infoB {};
  return ::stat(b.c_str(), &infoB) == 0 && infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

}  // namespace quorlin
