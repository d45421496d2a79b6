// The update dialog's own settings file, "Settings.ini": the proxy and where the dialog stood.
#pragma once

#include <ostream>
#include <string>

#include "platform/window_bounds.h"

namespace quorlin {

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
