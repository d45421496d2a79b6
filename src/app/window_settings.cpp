#include "app/window_settings.h"

#include <algorithm>
#include <climits>
#include <ostream>
#include <string>

namespace quorlin {

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kExport = "Export";
constexpr const char* kGui = "GUI";
constexpr int kExportFormats = 13;

bool IsYes(const ProfileFile& file, const char* section, const char* key, const char* fallback) {
  return file.ReadString(section, key, fallback) == "Yes";
}

bool IsNotNo(const ProfileFile& file, const char* section, const char* key, const char* fallback) {
  return file.ReadString(section, key, fallback) != "No";
}

const char* YesNo(bool yes) { return yes ? "Yes" : "No"; }

// An integer value that fits an int; nothing when it is missing or no integer at all.
std::optional<int> ReadInt(const ProfileFile& file, const char* section, const std::string& key) {
  constexpr long kMissing = LONG_MIN;
  const long value = file.ReadInteger(section, key, kMissing);
  if (value == kMissing || value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// The placement keys are the window's name followed by one of the four labels.
std::string PlacementKey(std::string_view window, const char* label) {
  return std::string(window) + label;
}

void PrintOptional(std::ostream& out, const char* name, const std::optional<int>& value) {
  out << name << '=';
  if (value) {
    out << *value;
  } else {
    out << "(none)";
  }
}

}  // namespace

Settings LoadSettings(const ProfileFile& file) {
  Settings settings;
  OptionSettings& options = settings.options;
  options.sounds = file.ReadBool(kOptions, "Sounds", false);
  options.editor = file.ReadString(kOptions, "Editor", "");
  options.numberingBase = file.ReadInteger(kOptions, "FieldCountFrom", 1) == 1 ? 1 : 0;
  options.odbcOnly = IsYes(file, kOptions, "ODBCOnly", "Yes");
  options.openLastFile = IsYes(file, kOptions, "OpenLastFile", "No");
  options.last = file.ReadString(kOptions, "Last", "");
  options.schema = IsYes(file, kOptions, "Schema", "No");
  if (const std::optional<int> length = ReadInt(file, kOptions, "FixedLength"); length && *length >= 0) {
    options.fixedLength = std::to_string(*length);
  }

  ExportSettings& exports = settings.exports;
  exports.useLastFile = IsYes(file, kExport, "UseLastFile", "No");
  // Stored as the format's number from 1; anything outside 1..13 is the nearest format.
  const long exportAs = file.ReadInteger(kExport, "ExportAs", 0);
  exports.formatIndex = static_cast<int>(std::clamp<long>(exportAs, 1, kExportFormats) - 1);
  exports.includeHeaderRow = IsNotNo(file, kExport, "HeaderRow", "No");
  exports.includeFieldNames = IsNotNo(file, kExport, "IncludeFields", "Yes");
  exports.title = file.ReadString(kExport, "Title", "");
  exports.fileName = file.ReadString(kExport, "FileName", "");
  exports.customChar = file.ReadString(kExport, "CustomChar", "");
  exports.quoteChar = file.ReadString(kExport, "QuoteChar", "\"");
  exports.compression = file.ReadString(kExport, "Compression", "zstd");
  if (const std::optional<int> rows = ReadInt(file, kExport, "RowsPerFile"); rows && *rows >= 0) {
    exports.rowsPerFile = *rows;
  }
  exports.currencyAsDecimal = IsYes(file, kExport, "CurrencyAsDecimal", "No");

  settings.mainWindow = ReadPlacement(file, kMainWindowName);
  settings.exportWindow = ReadPlacement(file, kExportWindowName);
  return settings;
}

void SaveShutDownOptions(ProfileFile& file, const OptionSettings& options) {
  file.WriteString(kOptions, "Editor", options.editor);
  file.WriteString(kOptions, "Last", options.last);
  file.WriteString(kOptions, "OpenLastFile", YesNo(options.openLastFile));
  file.WriteInteger(kOptions, "FieldCountFrom", options.numberingBase == 0 ? 0 : 1);
  file.WriteString(kOptions, "Schema", YesNo(options.schema));
  file.WriteBool(kOptions, "Sounds", options.sounds);
}

void SaveOpenLastFile(ProfileFile& file, bool open) {
  file.WriteString(kOptions, "OpenLastFile", YesNo(open));
}

void SaveUseLastExport(ProfileFile& file, bool use) {
  file.WriteString(kExport, "UseLastFile", YesNo(use));
}

void SaveEditor(ProfileFile& file, const std::string& editor) {
  file.WriteString(kOptions, "Editor", editor);
}

void SaveExportSettings(ProfileFile& file, const ExportSettings& exports) {
  file.WriteInteger(kExport, "ExportAs", exports.formatIndex + 1);
  file.WriteString(kExport, "HeaderRow", YesNo(exports.includeHeaderRow));
  file.WriteString(kExport, "IncludeFields", YesNo(exports.includeFieldNames));
  file.WriteString(kExport, "Title", exports.title);
  file.WriteString(kExport, "FileName", exports.fileName);
  file.WriteString(kExport, "CustomChar", exports.customChar);
  file.WriteString(kExport, "QuoteChar", exports.quoteChar);
  file.WriteString(kExport, "Compression", exports.compression);
  file.WriteInteger(kExport, "RowsPerFile", exports.rowsPerFile);
  file.WriteString(kExport, "CurrencyAsDecimal", YesNo(exports.currencyAsDecimal));
}

StoredPlacement ReadPlacement(const ProfileFile& file, std::string_view window) {
  StoredPlacement stored;
  stored.left = ReadInt(file, kGui, PlacementKey(window, "Left"));
  stored.top = ReadInt(file, kGui, PlacementKey(window, "Top"));
  stored.width = ReadInt(file, kGui, PlacementKey(window, "Width"));
  stored.height = ReadInt(file, kGui, PlacementKey(window, "Height"));
  return stored;
}

void SavePlacement(ProfileFile& file, std::string_view window, const WindowBounds& bounds) {
  file.WriteInteger(kGui, PlacementKey(window, "Left"), bounds.left);
  file.WriteInteger(kGui, PlacementKey(window, "Top"), bounds.top);
  file.WriteInteger(kGui, PlacementKey(window, "Width"), bounds.width);
  file.WriteInteger(kGui, PlacementKey(window, "Height"), bounds.height);
}

WindowBounds PlacedBounds(const StoredPlacement& stored, WindowBounds current) {
  current.left = stored.left.value_or(current.left);
  current.top = stored.top.value_or(current.top);
  current.width = stored.width.value_or(current.width);
  current.height = stored.height.value_or(current.height);
  return current;
}

void PrintTo(const OptionSettings& options, std::ostream* out) {
  *out << "{Sounds=" << options.sounds << " Editor=\"" << options.editor
       << "\" FieldCountFrom=" << options.numberingBase << " ODBCOnly=" << options.odbcOnly
       << " OpenLastFile=" << options.openLastFile << " Last=\"" << options.last
       << "\" Schema=" << options.schema << " FixedLength=\"" << options.fixedLength << "\"}";
}

void PrintTo(const ExportSettings& exports, std::ostream* out) {
  *out << "{UseLastFile=" << exports.useLastFile << " format=" << exports.formatIndex
       << " HeaderRow=" << exports.includeHeaderRow << " IncludeFields=" << exports.includeFieldNames
       << " Title=\"" << exports.title << "\" FileName=\"" << exports.fileName << "\" CustomChar=\""
       << exports.customChar << "\" QuoteChar=\"" << exports.quoteChar << "\" Compression=" << exports.compression
       << " RowsPerFile=" << exports.rowsPerFile << " CurrencyAsDecimal=" << exports.currencyAsDecimal << "}";
}

void PrintTo(const StoredPlacement& placement, std::ostream* out) {
  *out << '{';
  PrintOptional(*out, "Left", placement.left);
  PrintOptional(*out, " Top", placement.top);
  PrintOptional(*out, " Width", placement.width);
  PrintOptional(*out, " Height", placement.height);
  *out << '}';
}

void PrintTo(const Settings& settings, std::ostream* out) {
  *out << "[Options]";
  PrintTo(settings.options, out);
  *out << " [Export]";
  PrintTo(settings.exports, out);
  *out << " [GUI] main";
  PrintTo(settings.mainWindow, out);
  *out << " export";
  PrintTo(settings.exportWindow, out);
}

}  // namespace quorlin
