// The data files of a data source's folder that it offers as tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorlin::driver {

// "asc,csv" or "*.CSV;*.txt": lower-case extensions without "*." or dots; empty gives the
// text driver's own list, asc, csv, tab and txt.
std::vector<std::string> ParseExtensions(std::string_view text);

// The regular files of `folder` whose extension is listed, by name in byte order.
std::vector<std::string> ListTableFiles(const std::string& folder,
                                        const std::vector<std::string>& extensions);

// The path of the table's file in `folder` (found without regard to letter case). Raises
// SqlError 42S02 for a name that is missing, is not a regular file, holds a path separator,
// or leads out of the folder through a link.
std::string ResolveTableFile(const std::string& folder, const std::string& table);

}  // namespace quorlin::driver
