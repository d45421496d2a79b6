#include "extras/update_check.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "extras/version_number.h"
#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/folder_files.h"
#include "platform/ini_lines.h"
#include "platform/profile_file.h"
#include "platform/settings_location.h"
#include "platform/trim.h"

namespace quorlin {

namespace {

bool IsWritableFolder(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

bool IsUsableFileName(const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    return false;
  }
  // The version file replaces whatever has its name: never the program's own settings.
  for (const char* settings : {"Quorlin.INI", "Settings.ini"}) {
    if (EqualNoCase(name, settings)) return false;
  }
  return true;
}

// An INI file is text with at least one section line.
bool LooksLikeIniFile(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return false;
  for (std::size_t begin = 0; begin < bytes.size();) {
    const ini::Line line = ini::LineAt(bytes, begin);
    if (line.kind == ini::LineKind::Section) return true;
    begin = line.next;
  }
  return false;
}

}  // namespace

ProxyChoice ProxySetting(std::string_view host, long port) {
  host = Trim(host);
  const bool hasBlank = std::any_of(host.begin(), host.end(),
                                    [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (host.empty() || hasBlank) {
    return {"", "The proxy server name must not be empty or contain blanks."};
  }
  if (port < 1 || port > 65535) return {"", "The proxy port must be a number from 1 to 65535."};
  return {std::string(host) + ":" + std::to_string(port), ""};
}

VersionFilePlace PlaceVersionFile(const std::string& programFolder, const std::string& cacheFolder,
                                  const std::string& fileName) {
  if (!IsUsableFileName(fileName)) {
    return {"", "The version file name \"" + fileName + "\" cannot be used."};
  }
  if (!IsInstalledProgramFolder(programFolder) && IsWritableFolder(programFolder)) {
    return {WithTrailingSlash(programFolder) + fileName, ""};
  }
  std::error_code ignored;
  std::filesystem::create_directories(cacheFolder, ignored);
  if (!cacheFolder.empty() && IsWritableFolder(cacheFolder)) {
    return {WithTrailingSlash(cacheFolder) + fileName, ""};
  }
  return {"", "Unable to write to " + WithTrailingSlash(cacheFolder) + fileName};
}

VersionVerdict JudgeVersionFile(const std::string& path, const std::string& programVersion) {
  const std::optional<std::string> bytes = ReadRegularFile(path);
  if (!bytes || !LooksLikeIniFile(*bytes)) return VersionVerdict::NotAVersionFile;
  const auto offered = ParseVersion(ProfileFile(path).ReadString("Version", "Version", ""));
  if (!offered) return VersionVerdict::NamesNoVersion;
  const VersionNumber running = ParseVersion(programVersion).value_or(VersionNumber{});
  return *offered > running ? VersionVerdict::Newer : VersionVerdict::NotNewer;
}

std::string VerdictMessage(VersionVerdict verdict) {
  switch (verdict) {
    case VersionVerdict::NotAVersionFile:
      return "The file on the update server is not a version file.";
    case VersionVerdict::NamesNoVersion:
      return "The version file on the update server names no version.";
    case VersionVerdict::NotNewer:
    case VersionVerdict::Newer: break;
  }
  return kNoNewVersionMessage;
}

std::string DownloadFailureMessage(const DownloadResult& result, const std::string& targetPath) {
  switch (result.outcome) {
    case DownloadOutcome::Unreachable: return kUnreachableMessage;
    case DownloadOutcome::Cancelled: return kCancelledMessage;
    case DownloadOutcome::HttpError:
      return "The update server answered with status " + std::to_string(result.httpStatus) +
             ": the version file could not be downloaded.";
    case DownloadOutcome::TimedOut: return "The update server stopped answering.";
    case DownloadOutcome::PastDeadline:
      return "The update server sent the version file too slowly: the check gave up after a minute.";
    case DownloadOutcome::TooLarge:
      return "The file on the update server is too large to be a version file.";
    case DownloadOutcome::HeaderTooLarge:
      return "The update server's answer has headers too large to be read.";
    case DownloadOutcome::Incomplete:
      return "The update server's answer ended before the whole version file had arrived.";
    case DownloadOutcome::BadAnswer:
      return "The update server's answer could not be read: " + result.detail;
    case DownloadOutcome::WriteFailed: return "Unable to write to " + targetPath;
    case DownloadOutcome::Done: break;
  }
  return "";
}

}  // namespace quorlin
