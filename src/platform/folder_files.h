// File names in a folder, looked up the way a case-insensitive file system would.
#pragma once

#include <string>

namespace quorlin {

// `folder` with a trailing "/" added when it has none (an empty folder stays empty).
std::string WithTrailingSlash(const std::string& folder);

// The path of the entry of `folder` whose name equals `name` without regard to case, or
// folder + name when there is none (so a file created there gets exactly `name`).
std::string FindInFolderNoCase(const std::string& folder, const std::string& name);

// Whether files can be created in `folder`. A folder without any write permission bit counts
// as read-only even for root, who passes every other check.
bool CanWriteInFolder(const std::string& folder);

// The folder's schema file: an existing "schema.ini" in any letter case, else "Schema.INI".
std::string SchemaFilePath(const std::string& folder);

}  // namespace quorlin
