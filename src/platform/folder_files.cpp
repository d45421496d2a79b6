#include "platform/folder_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/ascii_case.h"

namespace quorlin {

std::string WithTrailingSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + "/";
}

std::string FindInFolder(const std::string& folder, const std::string& name,
                         const std::function<bool(const std::string& entry)>& matches) {
  const std::string prefix = WithTrailingSlash(folder);
  std::error_code error;
  std::filesystem::directory_iterator entries(prefix.empty() ? "." : prefix, error);
  // Several entries can match side by side; the exact one wins, else the first in byte order,
  // so the choice does not depend on the order the folder lists them in.
  std::optional<std::string> best;
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    std::string entry = entries->path().filename().string();
    if (entry == name) return prefix + entry;
    if (matches(entry) && (!best || entry < *best)) best = std::move(entry);
  }
  return prefix + best.value_or(name);
}

std::string FindInFolderNoCase(const std::string& folder, const std::string& name) {
  return FindInFolder(folder, name, [&name](const std::string& entry) { return EqualNoCase(entry, name); });
}

bool CanWriteInFolder(const std::string& folder) {
  struct stat info;
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string SchemaFilePath(const std::string& folder) { return FindInFolderNoCase(folder, "Schema.INI"); }

}  // namespace quorlin
