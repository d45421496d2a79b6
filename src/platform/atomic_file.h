// Whole-file reads and all-or-nothing replacement of a file's bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// The bytes of the regular file at `path`; nothing when it is missing, not a regular file or
// cannot be read.
std::optional<std::string> ReadRegularFile(const std::string& path);

// The bytes a rewrite of `path` starts from: empty when the file is missing. Raises
// FileError("Unable to write to <path>") when something else is there that cannot be read,
// since its contents could not be carried over.
std::string ReadForRewrite(const std::string& path);

// Makes `bytes` the contents of `path` (a symbolic link's target, when it is one) through a
// synced temporary file in the same folder that is renamed over it, keeping its permission
// bits. On failure nothing is changed, no temporary file is left behind, and
// FileError("Unable to write to <path>") is raised.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace quorlin
