#include "export/cut_values.h"

namespace quorlin {

std::string CutValueText(const std::string& fieldName, std::int64_t length) {
  return "the value of " + fieldName + " was cut to " + std::to_string(length) + " characters";
}

void NoteCutValues(ExportResult& result, std::int64_t count, const std::string& logPath) {
  if (count == 0) return;
  result.valuesCut += count;
  if (result.outcome == ExportOutcome::Exported) result.outcome = ExportOutcome::Failed;
  result.messages.push_back(std::to_string(count) +
                            (count == 1 ? " value was cut to fit its field" : " values were cut to fit their fields") +
                            "\nSee " + logPath + "\nfor the values cut");
}

}  // namespace quorlin
