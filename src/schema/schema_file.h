// Where a data file's layout lives: its folder's Schema.INI and the section named after it.
#pragma once

#include <optional>
#include <string>

#include "platform/profile_file.h"

namespace quorlin {

// The folder's Schema.INI (found in any letter case, else to be created as "Schema.INI").
// Raises FileError when the folder cannot be listed, and its reads raise FileError when the
// file is there but cannot be read, so that a layout that cannot be read is never taken for
// no layout at all.
ProfileFile OpenSchemaFile(const std::string& folder);

// The file of `folder` whose section `section` is: the file of exactly that name, else the
// first in byte order whose section name is the same (ASCII letter case and blanks around it
// aside), else folder + section.
std::string DataFileFor(const std::string& folder, const std::string& section);

// Why `schemaPath` must not be written while `inputPath` is the input file (it is the same
// file, by path or through a link); nothing when it may be.
std::optional<std::string> InputFileRefusal(const std::string& inputPath, const std::string& schemaPath);

}  // namespace quorlin
