// The inputs and options of the golden files, shared by the byte comparison and the readers.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "export/export_field_builder.h"
#include "export/export_request.h"
#include "support/test_files.h"

namespace quorlin::testing {

struct GoldenCase {
  const char* name;
  const char* input;  // in tests/golden/input, with its section in the Schema.INI there
  const char* separator;
  const char* qualifier;
  bool fixed;
  bool hasHeaderRow;
  bool includeHeaderRow;
  bool includeFieldNames;
  const char* title;
};

inline constexpr std::array<GoldenCase, 4> kGoldenCases = {{
    {"orders", "orders.csv", ",", "\"", false, true, false, true, "Order_Book"},
    {"stock", "stock.dat", "", "\"", true, false, false, true, "Stock"},
    {"kept", "kept.txt", ";", "'", false, true, true, false, "Kept"},
    {"empty", "empty.csv", ",", "\"", false, false, false, true, "Empty_Table"},
}};

struct GoldenFormat {
  ExportFormat format;
  const char* folder;
  const char* extension;
  const char* outputQualifier;
  const char* otherChar;
};

inline constexpr std::array<GoldenFormat, 7> kGoldenFormats = {{
    {ExportFormat::CommaDelimited, "csv", ".CSV", "\"", ""},
    {ExportFormat::SpaceDelimited, "space", ".TXT", "\"", ""},
    {ExportFormat::TabDelimited, "tab", ".TAB", "", ""},
    {ExportFormat::OtherDelimiter, "other", ".TXT", "'", "|"},
    {ExportFormat::HtmlTable, "html", ".HTM", "\"", ""},
    {ExportFormat::Xml, "xml", ".XML", "\"", ""},
    {ExportFormat::SqlSchema, "sql", ".SQL", "\"", ""},
}};

inline std::string GoldenFolder() { return std::string(QUORLIN_TEST_DATA) + "/golden/"; }

inline std::string GoldenPath(const GoldenCase& golden, const GoldenFormat& format) {
  return GoldenFolder() + format.folder + "/" + golden.name + format.extension;
}

inline std::string GoldenLogPath(const GoldenCase& golden) {
  return GoldenFolder() + "sql/" + golden.name + ".SQLogErr.txt";
}

// The request the export dialog would make for the case, its input and schema copied into
// `dir`, with a fixed clock and the C locale.
inline ExportRequest GoldenRequest(const GoldenCase& golden, const GoldenFormat& format,
                                   const TempDir& dir) {
  for (const char* name : {golden.input, "Schema.INI"}) {
    std::filesystem::copy_file(GoldenFolder() + "input/" + name, dir.File(name));
  }
  ExportRequest request;
  request.format = format.format;
  request.inputPath = dir.File(golden.input);
  request.outputPath = dir.File(std::string("out") + format.extension);
  request.inputSeparator = golden.separator;
  request.inputQualifier = golden.fixed ? "" : golden.qualifier;
  request.outputSeparator = OutputSeparatorFor(format.format, format.otherChar);
  request.outputQualifier = format.outputQualifier;
  request.fields = BuildExportFields(request.inputPath, golden.fixed, format.format);
  request.hasHeaderRow = golden.hasHeaderRow;
  request.includeHeaderRow = golden.includeHeaderRow;
  request.includeFieldNames = golden.includeFieldNames;
  request.title = golden.title;
  request.fixedInput = golden.fixed;
  request.now = {2002, 3, 4, 5, 6, 7, 0};
  request.locale.currentYear = 2002;
  return request;
}

}  // namespace quorlin::testing
