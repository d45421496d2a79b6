// The window's keys of the settings file Quorlin.INI, each with its default, read and written
// through ProfileFile.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile_file.h"
#include "platform/window_bounds.h"

namespace quorlin {

// [Options]. "Yes" and "No" values count only as written, letter case included.
struct OptionSettings {
  bool sounds = false;          // Sounds, "1" or "0"
  std::string editor;           // Editor; empty means the desktop's text editor
  int numberingBase = 1;        // FieldCountFrom: fields count from 1 when it is 1, else from 0
  bool odbcOnly = true;         // ODBCOnly is "Yes"
  bool openLastFile = false;    // OpenLastFile is "Yes"
  std::string last;             // Last: the last input file, empty when missing
  bool schema = false;          // Schema is "Yes": the last file reopens through Schema.INI
  std::string fixedLength = "80";  // FixedLength: what a rejected line length box returns to

  bool operator==(const OptionSettings&) const = default;
};

// [Export]: the export dialog's last choices.
struct ExportSettings {
  bool useLastFile = false;        // UseLastFile is "Yes"
  int formatIndex = 0;             // ExportAs - 1, kept within the ten formats 0..9
  bool includeHeaderRow = false;   // HeaderRow is anything but "No"
  bool includeFieldNames = true;   // IncludeFields is anything but "No"
  std::string title;               // Title
  std::string fileName;            // FileName
  std::string customChar;          // CustomChar
  std::string quoteChar = "\"";    // QuoteChar
  std::string compression = "zstd";  // Compression: the columnar formats' codec, as the box names it
  int rowsPerFile = 0;               // RowsPerFile: 0 for one file, else records per part file
  bool currencyAsDecimal = false;    // CurrencyAsDecimal is "Yes"

  bool operator==(const ExportSettings&) const = default;
};

// [GUI] keys of one window as stored: a missing or unusable value leaves the window's own.
struct StoredPlacement {
  std::optional<int> left;
  std::optional<int> top;
  std::optional<int> width;
  std::optional<int> height;

  bool operator==(const StoredPlacement&) const = default;
};

inline constexpr std::string_view kMainWindowName = "frmQuorlin";
inline constexpr std::string_view kExportWindowName = "frmExportData";
// The section that keeps the layout on screen at shut-down, in the form of a Schema.INI section.
inline constexpr const char* kLastFileSection = "LastFile";

struct Settings {
  OptionSettings options;
  ExportSettings exports;
  StoredPlacement mainWindow;
  StoredPlacement exportWindow;

  bool operator==(const Settings&) const = default;
};

// Every key of the file; a missing file, key or unusable value gives the default.
Settings LoadSettings(const ProfileFile& file);

// The [Options] keys shut-down writes, in this order: Editor, Last, OpenLastFile,
// FieldCountFrom, Schema, Sounds. Raises FileError("Unable to write to <path>").
void SaveShutDownOptions(ProfileFile& file, const OptionSettings& options);
// The keys the option commands write at once.
void SaveOpenLastFile(ProfileFile& file, bool open);
void SaveUseLastExport(ProfileFile& file, bool use);
void SaveEditor(ProfileFile& file, const std::string& editor);
// The [Export] keys the export dialog writes when it closes: ExportAs, HeaderRow,
// IncludeFields, Title, FileName, CustomChar, QuoteChar, then the columnar formats' Compression,
// RowsPerFile and CurrencyAsDecimal.
void SaveExportSettings(ProfileFile& file, const ExportSettings& exports);

// The [GUI] keys of the window named `window`: <window>Left, Top, Width and Height.
StoredPlacement ReadPlacement(const ProfileFile& file, std::string_view window);
void SavePlacement(ProfileFile& file, std::string_view window, const WindowBounds& bounds);
// `current` with each stored value in its place.
WindowBounds PlacedBounds(const StoredPlacement& stored, WindowBounds current);

void PrintTo(const OptionSettings& options, std::ostream* out);
void PrintTo(const ExportSettings& exports, std::ostream* out);
void PrintTo(const StoredPlacement& placement, std::ostream* out);
void PrintTo(const Settings& settings, std::ostream* out);

}  // namespace quorlin
