#include "export/parquet/staged_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdio.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/file_error.h"

namespace quorlin::parquet {

namespace fs = std::filesystem;

namespace {

bool IsPartFileName(const std::string& name) {
  return name.rfind("part-", 0) == 0 && name.size() > 13 && name.ends_with(".parquet");
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  throw FileError("Unable to " + what + " " + path + ": " + std::strerror(error));
}

}  // namespace

std::string PartFileName(long long number) {
  char name[32];
  std::snprintf(name, sizeof name, "part-%05lld.parquet", number);
  return name;
}

std::optional<std::string> DatasetFolderRefusal(const std::string& folder) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(WithoutTrailingSlash(folder), error);
  if (!fs::exists(status)) return std::nullopt;
  if (!fs::is_directory(status)) {
    return folder + " is a file; part files go into a folder of their own";
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (!entry.is_regular_file(error) || !IsPartFileName(entry.path().filename().string())) {
      return "The folder " + folder + " holds other files than part-NNNNN.parquet; give a new folder";
    }
  }
  if (error) return "Unable to read the folder " + folder + ": " + error.message();
  return std::nullopt;
}

StagedFolder::StagedFolder(std::string target) : target_(WithoutTrailingSlash(std::move(target))) {
  const fs::path named = target_;
  std::string pattern =
      (named.parent_path() / ("." + named.filename().string() + ".partial-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) Fail("create a folder beside", target_, errno);
  path_ = pattern;
  // Made private to be safe while it fills; once in place it is an ordinary folder.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(path_.c_str(), 0777 & ~mask);
}

StagedFolder::~StagedFolder() {
  if (committed_) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void StagedFolder::Commit() {
  if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    return;
  }
  if (errno != EEXIST) Fail("put the part files into", target_, errno);
  // A dataset written before: the two folders change places and the old one goes.
  if (DatasetFolderRefusal(target_)) Fail("replace", target_, EEXIST);
  if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) != 0) {
    Fail("replace", target_, errno);
  }
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  committed_ = true;
}

}  // namespace quorlin::parquet
