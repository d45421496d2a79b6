#include "export/export_result.h"

#include <ostream>

namespace quorlin {

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
