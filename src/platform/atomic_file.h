// Whole-file reads and all-or-nothing replacement of a file's bytes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

// The bytes of the regular file at `path`; nothing when it is missing, not a regular file or
// cannot be read.
std::optional<std::string> ReadRegularFile(const std::string& path);

// The bytes of the file at `path`, or nothing when there is no file there. A file that is
// there but cannot be read, or is not a regular file, raises FileError("Cannot read <path>:
// <cause>"), so that an unreadable file is never taken for a missing one.
std::optional<std::string> ReadExistingFile(const std::string& path);

// Gives the file's current bytes (empty when it is missing) and returns the new ones, or
// nothing to leave the file as it is.
using FileEdit = std::function<std::optional<std::string>(const std::string& current)>;

// Rewrites the file at `path` with what `edit` makes of its bytes, holding an advisory lock
// on its folder from the read to the replacement, so that rewrites by other processes come
// before or after, never in between. The new bytes go to a temporary file beside it (never
// readable by more users than the old file) that is synced and renamed over it, with the old
// file's owner, group and mode; when the owner or group cannot be given to a new file (the
// file belongs to another user), the file is rewritten in place instead, so that they stay.
// A copy left by a rewrite that was killed is removed by the next one in that folder. A
// symbolic link is written through only when its target has the link's name (in any letter
// case) and belongs to the user; otherwise, and on every other failure, nothing is changed
// and FileError is raised: "Unable to write to <path>", with the reason when it is a link.
void RewriteFile(const std::string& path, const FileEdit& edit);

// RewriteFile with `bytes` as the new contents.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace quorlin
