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
  // Added later, so that the numbers kept in the settings of the earlier ones stay as they were.
  Xlsx,
  JsonLines,
};

struct ExportFormatInfo {
  ExportFormat format;
  std::string_view caption;           // the radio item
  std::string_view defaultExtension;  // the save dialog's, without a dot
  std::string_view extension;         // given to the output name when the format is chosen
  std::string_view filter;            // description, "|", patterns separated by ";"
  bool warnsAfterSuccess;             // the "**** WARNING ****" box follows a success
  std::string_view commandWord;       // quorlin-cli export --to
  std::string_view description;       // what quorlin-cli's help says the word writes
};

inline constexpr std::array<ExportFormatInfo, 13> kExportFormats = {{
    {ExportFormat::CommaDelimited, "Comma Delimited", "CSV", ".CSV",
     "Comma Separated (*.CSV,*.DAT)|*.CSV;*.DAT", false, "csv", "comma-separated text"},
    {ExportFormat::SpaceDelimited, "Space Delimited", "TXT", ".TXT",
     "Space Formatted (*.TXT,*.PRN)|*.TXT;*.PRN", false, "space", "blank-separated text"},
    {ExportFormat::TabDelimited, "Tab Delimited", "TAB", ".TAB",
     "TAB Separated (*.TAB,*.TXT)|*.TAB;*.TXT", false, "tab", "tab-separated text"},
    {ExportFormat::OtherDelimiter, "Other Delimiter", "TXT", ".TXT",
     "Custom Formatted (*.TXT)|*.TXT", false, "other", "text separated by the --out-char character"},
    {ExportFormat::XBase, "xBase (Generic)", "DBF", ".DBF", "dBase Files (*.DBF)|*.DBF", true,
     "dbf", "a dBase table"},
    {ExportFormat::Paradox, "Paradox", "DB", ".DB", "Paradox Files (*.DB)|*.DB", true,
     "paradox", "a Paradox table"},
    {ExportFormat::Excel, "Excel ", "XLS", ".XLS", "Excel Files (*.XLS)|*.XLS", false, "xls", "an Excel 97 workbook"},
    {ExportFormat::HtmlTable, "HTML Table", "htm", ".HTM",
     "HTML Files (*.htm, html)|*.htm;*.html", true, "html", "an HTML table"},
    {ExportFormat::Xml, "XML (Generic)", "xml", ".XML", "XML Files (*.xml)|*.xml", true, "xml", "an XML document"},
    {ExportFormat::SqlSchema, "SQL Schema", "SQL", ".SQL",
     "SQL Script Files (*.SQL;*.QRY)|*.SQL;*.QRY", false, "sql",
     "an SQL script that creates and fills the table named by --title"},
    {ExportFormat::Parquet, "Parquet", "parquet", ".parquet", "Parquet Files (*.parquet)|*.parquet",
     false, "parquet", "a Parquet table"},
    {ExportFormat::Xlsx, "Excel Workbook (xlsx)", "xlsx", ".xlsx",
     "Excel Workbooks (*.xlsx)|*.xlsx", false, "xlsx", "an Office Open XML workbook"},
    {ExportFormat::JsonLines, "JSON Lines", "jsonl", ".jsonl",
     "JSON Lines Files (*.jsonl)|*.jsonl;*.ndjson", false, "jsonl",
     "one JSON object per record"},
}};

inline constexpr int kExportFormatCount = static_cast<int>(kExportFormats.size());

// The order of the export dialog's radio items: each workbook format beside the other.
inline constexpr std::array<ExportFormat, kExportFormatCount> kDialogFormatOrder = {
    ExportFormat::CommaDelimited, ExportFormat::SpaceDelimited, ExportFormat::TabDelimited,
    ExportFormat::OtherDelimiter, ExportFormat::XBase,          ExportFormat::Paradox,
    ExportFormat::Excel,          ExportFormat::Xlsx,           ExportFormat::HtmlTable,
    ExportFormat::Xml,            ExportFormat::SqlSchema,      ExportFormat::Parquet,
    ExportFormat::JsonLines};

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
