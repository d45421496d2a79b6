// The parts of a path, and whether two paths name one file.
#pragma once

#include <string>

namespace quorlin {

// The folder a path lies in, with its trailing "/": "./" for a bare name, "/" for a file at the
// root. Appending a file name to it always gives a path to a file beside `path`.
std::string FolderOf(const std::string& path);

// The last part of a path: everything after its last "/".
std::string FileNameOf(const std::string& path);

// `path` made absolute against the current folder (unchanged when empty or absolute), so that
// folders taken from it are never "./" and never the root by accident.
std::string AbsoluteFilePath(const std::string& path);

// Whether `a` exists and `b` names it: spelled the same once "." and ".." are resolved, or
// the same file by device and inode (a link is followed).
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace quorlin
