// Paths an export works with: made absolute once, and the log files beside the output.
#pragma once

#include <string>

#include "platform/file_paths.h"

namespace quorlin {

// FolderOf(outputPath) + name: where a writer's error log goes.
std::string BesideOutput(const std::string& outputPath, const std::string& name);

// How a result message names a writer's log `name`: the file beside the output, or the lines
// above on the standard error when the output is the standard output.
std::string ShownLog(const std::string& outputPath, const std::string& name, bool toStandardOutput);

}  // namespace quorlin
