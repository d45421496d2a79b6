// The export targets with their captions, file extensions and save-dialog filters.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// The index is the dialog's radio item and, plus one, the number kept in the settings.
enum class ExportFormat {
  CommaDelimited,
  SpaceDelimited,
  TabDelimited,
  OtherDelimiter,
  XBase,
  Paradox,
  Excel,
  HtmlTable,
  Xml,
  SqlSchema,
  Parquet,
};

struct ExportFormatInfo {
  ExportFormat format;
  std::string_view caption;           // the radio item
  std::string_view defaultExtension;  // the save dialog's, without a dot
  std::string_view extension;         // given to the output name when the format is chosen
  std::string_view filter;            // description, "|", patterns separated by ";"
  bool warnsAfterSuccess;             // the "**** WARNING ****" box follows a success
  std::string_view commandWord;       // quorlin-cli export --to
};

inline constexpr std::array<ExportFormatInfo, 11> kExportFormats = {{
    {ExportFormat::CommaDelimited, "Comma Delimited", "CSV", ".CSV",
     "Comma Separated (*.CSV,*.DAT)|*.CSV;*.DAT", false, "csv"},
    {ExportFormat::SpaceDelimited, "Space Delimited", "TXT", ".TXT",
     "Space Formatted (*.TXT,*.PRN)|*.TXT;*.PRN", false, "space"},
    {ExportFormat::TabDelimited, "Tab Delimited", "TAB", ".TAB",
     "TAB Separated (*.TAB,*.TXT)|*.TAB;*.TXT", false, "tab"},
    {ExportFormat::OtherDelimiter, "Other Delimiter", "TXT", ".TXT",
     "Custom Formatted (*.TXT)|*.TXT", false, "other"},
    {ExportFormat::XBase, "xBase (Generic)", "DBF", ".DBF", "dBase Files (*.DBF)|*.DBF", true,
     "dbf"},
    {ExportFormat::Paradox, "Paradox", "DB", ".DB", "Paradox Files (*.DB)|*.DB", true,
     "paradox"},
    {ExportFormat::Excel, "Excel ", "XLS", ".XLS", "Excel Files (*.XLS)|*.XLS", false, "xls"},
    {ExportFormat::HtmlTable, "HTML Table", "htm", ".HTM",
     "HTML Files (*.htm, html)|*.htm;*.html", true, "html"},
    {ExportFormat::Xml, "XML (Generic)", "xml", ".XML", "XML Files (*.xml)|*.xml", true, "xml"},
    {ExportFormat::SqlSchema, "SQL Schema", "SQL", ".SQL",
     "SQL Script Files (*.SQL;*.QRY)|*.SQL;*.QRY", false, "sql"},
    {ExportFormat::Parquet, "Parquet", "parquet", ".parquet", "Parquet Files (*.parquet)|*.parquet",
     false, "parquet"},
}};

inline constexpr int kExportFormatCount = static_cast<int>(kExportFormats.size());

inline int FormatIndex(ExportFormat format) { return static_cast<int>(format); }
inline const ExportFormatInfo& FormatInfo(ExportFormat format) {
  return kExportFormats[static_cast<std::size_t>(format)];
}
// The format of a radio index, indexes outside the table moved to the nearer end.
ExportFormat FormatAtIndex(long index);

// The format of a quorlin-cli word ("csv", "tab", ...), or nothing.
std::optional<ExportFormat> FormatFromCommandWord(std::string_view word);

// Comma, Space, Tab and Other Delimiter, the formats of the delimited text writer.
bool IsDelimitedFormat(ExportFormat format);

// The output separator of a delimited format: ",", " ", a tab, or the "Other Char" text.
std::string OutputSeparatorFor(ExportFormat format, const std::string& otherChar);

// `fileName` with its extension replaced by the format's (appended when it has none).
std::string WithFormatExtension(const std::string& fileName, ExportFormat format);

}  // namespace quorlin
