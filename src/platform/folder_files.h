// File names in a folder, looked up the way a case-insensitive file system would.
#pragma once

#include <functional>
#include <string>

namespace quorlin {

// `folder` with a trailing "/" added when it has none (an empty folder stays empty).
std::string WithTrailingSlash(const std::string& folder);

// The path of the entry of `folder` named exactly `name`, else of the first entry in byte order
// whose name `matches`, else folder + name (so a file created there gets exactly `name`).
std::string FindInFolder(const std::string& folder, const std::string& name,
                         const std::function<bool(const std::string& entry)>& matches);

// FindInFolder for a name equal to `name` without regard to case.
std::string FindInFolderNoCase(const std::string& folder, const std::string& name);

// Whether files can be created in `folder`. A folder without any write permission bit counts
// as read-only even for root, who passes every other check.
bool CanWriteInFolder(const std::string& folder);

// The folder's schema file: an existing "schema.ini" in any letter case, else "Schema.INI".
std::string SchemaFilePath(const std::string& folder);

}  // namespace quorlin
