// Paths an export works with: made absolute once, and the log files beside the output.
#pragma once

#include <string>

namespace quorlin {

// `path` made absolute against the current folder (unchanged when empty or absolute), so that
// folders taken from it are never "" and never the root by accident.
std::string AbsoluteFilePath(const std::string& path);

// The folder part of `path` with a trailing "/" ("./" for a bare file name).
std::string FolderOf(const std::string& path);

// FolderOf(outputPath) + name: where a writer's error log goes.
std::string BesideOutput(const std::string& outputPath, const std::string& name);

// How a result message names a writer's log `name`: the file beside the output, or the lines
// above on the standard error when the output is the standard output.
std::string ShownLog(const std::string& outputPath, const std::string& name, bool toStandardOutput);

// Whether `candidate` names the same file as `existing`, by path or through a link (same
// device and inode); false when `existing` cannot be examined.
bool IsSameFile(const std::string& existing, const std::string& candidate);

}  // namespace quorlin
