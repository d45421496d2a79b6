// Where the update check finds the version file and the download page.
#pragma once

#include <string>

namespace quorlin {

struct UpdateSource {
  std::string serverAddress;    // "http://host/", ending in "/"
  std::string productFolder;    // "software/<product>/", ending in "/"
  std::string versionFileName;  // a bare file name

  std::string VersionFileUrl() const { return serverAddress + productFolder + versionFileName; }
  std::string DownloadPageUrl() const { return serverAddress + "software.htm"; }
  // A build made without an update server has none to ask.
  bool HasServer() const { return !serverAddress.empty(); }
};

// The source the program was built with.
UpdateSource BuiltInUpdateSource();

}  // namespace quorlin
