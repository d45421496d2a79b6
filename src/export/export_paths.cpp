#include "export/export_paths.h"

namespace quorlin {

std::string BesideOutput(const std::string& outputPath, const std::string& name) {
  return FolderOf(outputPath) + name;
}

std::string ShownLog(const std::string& outputPath, const std::string& name, bool toStandardOutput) {
  return toStandardOutput ? "the lines above on the standard error" : BesideOutput(outputPath, name);
}

}  // namespace quorlin
