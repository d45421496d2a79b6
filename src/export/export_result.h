// What an export ends with: done, failed or refused, and the messages the user must see.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "text/character_set.h"

namespace quorlin {

enum class ExportOutcome {
  Exported,  // the writer returned true
  Failed,    // the writer returned false
  Refused,   // a check stopped the export before any file was created
};

struct ExportResult {
  ExportOutcome outcome = ExportOutcome::Failed;
  // Shown in order before the dialog's result message, lines joined with "\n" (the SQL
  // writer's rejected-values message naming its log, the cause of a failed write, a refusal).
  std::vector<std::string> messages;
  // Values cut to fit their fields, each named in the writer's log.
  std::int64_t valuesCut = 0;
  // The output lacks records (an error, or the writer stopped): no file of it was kept.
  bool stoppedEarly = false;
  // Data records handed to the writer, and values it could not write as their type (written
  // as NULL, null or left out, and logged or counted in a message).
  std::int64_t recordsWritten = 0;
  std::int64_t valuesRejected = 0;
  // The first line of a record read as that line alone, as a qualified value in it was not
  // closed (see TextRecordReader); 0 when none was.
  long long unclosedLine = 0;
  // Values that could not be written faithfully (a delimited value holding the separator or a
  // line end with no output qualifier to wrap it in); the messages say so.
  std::int64_t valuesWrittenBare = 0;
  // Places of the input that were invalid in its character set, written as U+FFFD.
  std::int64_t replaced = 0;

  bool Exported() const { return outcome == ExportOutcome::Exported; }
};

inline constexpr const char* kExportedMessage = "File  Successfully Exported";
inline constexpr const char* kExportFailedMessage = "File  - Process Failed";
inline constexpr const char* kExportWarningMessage =
    "**** WARNING ****\nExport is complete\nPLEASE CHECK YOUR OUTPUT CAREFULLY\n"
    "NULLS, Dates, Times, Currencies, etc. \nmay not have been correctly translated\n"
    "due to conversion / display differences\nin the Export Program itself.";

// What the result says about `count` bytes of `inputPath` that were invalid in `set`.
std::string ReplacedMessage(const std::string& inputPath, const CharacterSet& set, std::int64_t count);

void PrintTo(ExportOutcome outcome, std::ostream* out);
void PrintTo(const ExportResult& result, std::ostream* out);

}  // namespace quorlin
