// The steps of the update check that need no window: the proxy setting, where the version file
// goes, what it says, and the message for each way its download can end.
#pragma once

#include <string>
#include <string_view>

#include "extras/http_download.h"

namespace quorlin {

inline constexpr const char* kNoNewVersionMessage = "No new versions available.";
inline constexpr const char* kNewerVersionQuestion =
    "A newer version of the application exists, do you want to go to the \n"
    "website now and download it?";
inline constexpr const char* kUnreachableMessage =
    "Unable to connect, or the file could not be found on the remote server.";
inline constexpr const char* kCancelledMessage = "Transfer cancelled.";
inline constexpr const char* kNoUpdateServerMessage = "This build has no update server";

// The proxy as "host:port", or the message that says why the boxes make none.
struct ProxyChoice {
  std::string proxy;
  std::string error;
};
// The host is trimmed first; blanks inside it and ports outside 1..65535 are refused.
ProxyChoice ProxySetting(std::string_view host, long port);

// Where the downloaded version file is stored, or the message that says why it cannot be.
struct VersionFilePlace {
  std::string path;
  std::string error;
};
// In the program's folder when that can be written and the program is not installed there,
// else in the cache folder (made when missing). A name that is no plain file name, or that would replace one of the program's
// settings files, is refused.
VersionFilePlace PlaceVersionFile(const std::string& programFolder, const std::string& cacheFolder,
                                  const std::string& fileName);

enum class VersionVerdict { NotNewer, Newer, NotAVersionFile, NamesNoVersion };

// Reads [Version] Version of the downloaded file and compares it, number by number, with the
// running program's version.
VersionVerdict JudgeVersionFile(const std::string& path, const std::string& programVersion);
// The message for the verdicts that end the check without a question.
std::string VerdictMessage(VersionVerdict verdict);

// The message for a download that did not end with the file; `targetPath` is where it was to go.
std::string DownloadFailureMessage(const DownloadResult& result, const std::string& targetPath);

}  // namespace quorlin
