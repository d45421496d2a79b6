#include "platform/settings_location.h"

#include <filesystem>
#include <system_error>

#include "platform/folder_files.h"

namespace quorlin {

std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
  if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
    return WithTrailingSlash(xdgConfigHome) + "Quorlin/";
  }
  return WithTrailingSlash(home != nullptr ? home : "") + ".config/Quorlin/";
}

bool IsInstalledProgramFolder(const std::string& programFolder) {
  std::error_code ignored;
  return std::filesystem::is_directory(WithTrailingSlash(programFolder) + "../share/quorlin", ignored);
}

std::string SettingsFilePath(const std::string& programFolder, const std::string& userConfigFolder) {
  // Even root, who may write anywhere, must not leave a settings file in the system's folder
  // of programs.
  if (!IsInstalledProgramFolder(programFolder) && CanWriteInFolder(programFolder)) {
    return FindInFolderNoCase(programFolder, "Quorlin.INI");
  }
  std::error_code ignored;
  std::filesystem::create_directories(userConfigFolder, ignored);
  return FindInFolderNoCase(userConfigFolder, "Quorlin.INI");
}

}  // namespace quorlin
