// The update dialog's own settings file, "Settings.ini": the proxy and where the dialog stood.
#pragma once

#include <ostream>
#include <string>

namespace quorlin {

struct WindowBounds {
  long top = 0;
  long left = 0;
  long height = 0;
  long width = 0;
  bool operator==(const WindowBounds&) const = default;
};

struct UpdateSettings {
  bool useProxy = false;
  std::string proxyHost;
  long proxyPort = 80;
  WindowBounds bounds;
  bool operator==(const UpdateSettings&) const = default;
};

void PrintTo(const UpdateSettings& settings, std::ostream* out);

// Every key missing from the file takes its default; the bounds default to `design`.
UpdateSettings ReadUpdateSettings(const std::string& path, const WindowBounds& design);
// Writes every key; raises FileError when the file cannot be written.
void WriteUpdateSettings(const std::string& path, const UpdateSettings& settings);

}  // namespace quorlin
