// The export dialog's choices kept in section [Export] of the settings file.
#pragma once

#include <string>

namespace quorlin {

struct ExportSettings {
  long exportAs = 0;         // format index + 1
  bool headerRow = false;    // "Include Header Row?"
  bool includeFields = true; // "Include FIELD Names"
  std::string title;
  std::string fileName;
  std::string customChar;
  std::string quoteChar = "\"";
};

// Missing keys give the defaults above; a yes/no key is true unless it holds exactly "No".
ExportSettings ReadExportSettings(const std::string& settingsPath);
// Raises FileError("Unable to write to <path>") when the file cannot be written.
void WriteExportSettings(const std::string& settingsPath, const ExportSettings& settings);

}  // namespace quorlin
