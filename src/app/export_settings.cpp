#include "app/export_settings.h"

#include "platform/profile_file.h"

namespace quorlin {

namespace {

constexpr const char* kSection = "Export";

const char* YesNo(bool value) { return value ? "Yes" : "No"; }

}  // namespace

ExportSettings ReadExportSettings(const std::string& settingsPath) {
  const ProfileFile file(settingsPath);
  ExportSettings settings;
  settings.exportAs = file.ReadInteger(kSection, "ExportAs", 0);
  settings.headerRow = file.ReadString(kSection, "HeaderRow", "No") != "No";
  settings.includeFields = file.ReadString(kSection, "IncludeFields", "Yes") != "No";
  settings.title = file.ReadString(kSection, "Title", "");
  settings.fileName = file.ReadString(kSection, "FileName", "");
  settings.customChar = file.ReadString(kSection, "CustomChar", "");
  settings.quoteChar = file.ReadString(kSection, "QuoteChar", "\"");
  return settings;
}

void WriteExportSettings(const std::string& settingsPath, const ExportSettings& settings) {
  ProfileFile file(settingsPath);
  file.WriteInteger(kSection, "ExportAs", settings.exportAs);
  file.WriteString(kSection, "HeaderRow", YesNo(settings.headerRow));
  file.WriteString(kSection, "IncludeFields", YesNo(settings.includeFields));
  file.WriteString(kSection, "Title", settings.title);
  file.WriteString(kSection, "FileName", settings.fileName);
  file.WriteString(kSection, "CustomChar", settings.customChar);
  file.WriteString(kSection, "QuoteChar", settings.quoteChar);
}

}  // namespace quorlin
