#include "export/export_result.h"

#include <ostream>

namespace quorlin {

std::string ReplacedMessage(const std::string& inputPath, const CharacterSet& set, std::int64_t count) {
  return inputPath + " holds " + std::to_string(count) + (count == 1 ? " place" : " places") +
         " that " + (count == 1 ? "is" : "are") + " not valid " + set.Name() +
         " text, written as the replacement character U+FFFD";
}

void PrintTo(ExportOutcome outcome, std::ostream* out) {
  switch (outcome) {
    case ExportOutcome::Exported: *out << "Exported"; return;
    case ExportOutcome::Failed: *out << "Failed"; return;
    case ExportOutcome::Refused: *out << "Refused"; return;
  }
}

void PrintTo(const ExportResult& result, std::ostream* out) {
  PrintTo(result.outcome, out);
  for (const std::string& message : result.messages) *out << " \"" << message << '"';
}

}  // namespace quorlin
