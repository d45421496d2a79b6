#include "export/export_paths.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace quorlin {

std::string AbsoluteFilePath(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

std::string BesideOutput(const std::string& outputPath, const std::string& name) {
  return FolderOf(outputPath) + name;
}

std::string ShownLog(const std::string& outputPath, const std::string& name, bool toStandardOutput) {
  return toStandardOutput ? "the lines above on the standard error" : FolderOf(outputPath) + name;
}

bool IsSameFile(const std::string& existing, const std::string& candidate) {
  struct stat existingInfo {};
  if (::stat(existing.c_str(), &existingInfo) != 0) return false;
  if (std::filesystem::path(existing).lexically_normal() ==
      std::filesystem::path(candidate).lexically_normal()) {
    return true;
  }
  struct stat candidateInfo {};
  if (::stat(candidate.c_str(), &candidateInfo) != 0) return false;
  return existingInfo.st_dev == candidateInfo.st_dev && existingInfo.st_ino == candidateInfo.st_ino;
}

}  // namespace quorlin
