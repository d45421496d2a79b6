// The checks on an export's files that come before any file is created.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorlin {

// Why the files an export creates (`files`: its output first, then its logs) cannot be
// written, or nothing: when one of them is the input (by path, through a link or as a hard
// link), when two of them, or one of them and the input folder's Schema.INI, are the same
// file (by name in any letter case, through a link or as hard links), when one of them would
// be a Schema.INI, or when a log is a symbolic link or something other than a regular file (a
// log is written beside the output, where someone else may have put it).
std::optional<std::string> OutputFilesRefusal(const std::string& inputPath, const std::vector<std::string>& files);

}  // namespace quorlin
