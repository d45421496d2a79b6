// The inputs every export writer takes: files, cutting rules, options, progress, clock and locale.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "export/export_field.h"
#include "export/export_format.h"
#include "platform/locale_settings.h"
#include "platform/line_end.h"
#include "schema/value_recognisers.h"
#include "text/character_set.h"

namespace quorlin {

// Called with the number of records handled and their count: with (0, count) once the input
// is counted, then as records are written (a batch of them at a time for some formats). A
// large input may be counted while its first records are written: the calls then start when
// the count is known. Runs on the exporting thread; a slow consumer should thin the calls out.
using ExportProgress = std::function<void(std::int64_t position, std::int64_t maximum)>;

inline constexpr std::array<const char*, 12> kEnglishMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The database an SQL script is written for: the script of the export dialog, whose batches
// end at GO lines, or the plain SQL one database (or the standard) runs.
enum class SqlDialect { Script, Sqlite, Postgresql, Ansi };

// How a columnar output compresses its pages.
enum class OutputCompression { None, Zstd, Snappy };

struct ExportRequest {
  ExportFormat format = ExportFormat::CommaDelimited;
  std::string inputPath;
  std::string outputPath;
  std::string inputSeparator;   // ",", " ", a tab, the custom character, or empty
  std::string inputQualifier;   // empty for none and for fixed-length input
  std::string outputSeparator;  // delimited formats
  std::string outputQualifier;  // empty for none
  ExportFields fields;
  bool hasHeaderRow = false;      // the input's first line is a header line
  bool includeHeaderRow = false;  // carry that line into the output
  bool includeFieldNames = false;
  std::string title;  // page and document title, table name for SQL
  bool translateSpecialChars = true;
  bool fixedInput = false;
  CharacterSet characterSet;      // the input's; records reach the writers decoded to UTF-8
  std::int32_t recordLength = 0;  // xBase: TotalWidth + 1
  // Parquet: one file, or with rowsPerFile above 0 a folder of part files of that many rows.
  std::int64_t rowsPerFile = 0;
  OutputCompression compression = OutputCompression::Zstd;
  bool currencyAsDecimal = false;  // Currency as DECIMAL(19,4) rather than DOUBLE
  ExportProgress progress;        // may be empty
  std::string lineEnd = std::string(kLineEnd);  // of the text formats' lines
  SqlDialect sqlDialect = SqlDialect::Script;
  // The output goes to the standard output and the lines of its logs to the standard error,
  // which the messages then name instead of the log files.
  bool toStandardOutput = false;

  // Fixed here rather than read by the writers, so that outputs are the same in every run.
  DateTime now;              // the export's date and time
  LocaleSettings locale;     // how dates and numbers in the values are read
  std::array<std::string, 12> monthNames = {
      kEnglishMonthNames[0], kEnglishMonthNames[1], kEnglishMonthNames[2],
      kEnglishMonthNames[3], kEnglishMonthNames[4], kEnglishMonthNames[5],
      kEnglishMonthNames[6], kEnglishMonthNames[7], kEnglishMonthNames[8],
      kEnglishMonthNames[9], kEnglishMonthNames[10], kEnglishMonthNames[11]};
};

// The clock and locale values a request is given.
struct ExportContext {
  DateTime now;
  LocaleSettings locale;
  std::array<std::string, 12> monthNames = ExportRequest{}.monthNames;
};

// The local date and time now, and the environment locale's full month names.
DateTime CurrentDateTime();
std::array<std::string, 12> SystemMonthNames();
// Now, with the environment's locale settings and month names.
ExportContext SystemExportContext();

}  // namespace quorlin
