// The messages that say what a bounded preview left out.
#include "text/preview_limits.h"

namespace quorlin {

std::string ColumnsCutMessage() {
  const std::string most = std::to_string(kMaxPreviewColumns);
  return "Line 1 holds more than " + most + " fields; the preview shows the first " + most + ".";
}

std::string LineCutMessage(long long lineNumber) {
  const std::string most = std::to_string(kMaxShownLineBytes);
  return "Line " + std::to_string(lineNumber) + " holds more than " + most +
         " bytes; only the first " + most + " are shown.";
}

std::string LinesCutMessage(std::size_t linesShown) {
  return "Only the first " + std::to_string(linesShown) + " lines are shown: a preview holds at most " +
         std::to_string(kMaxPreviewBytes) + " bytes.";
}

}  // namespace quorlin
