// The line end this program writes.
#pragma once

#include <string_view>

namespace quorlin {

// CR LF ends every line the program writes for other programs to read (reports, logs, INI files,
// text exports unless told otherwise), and is the two-byte end the line reader recognises.
inline constexpr std::string_view kLineEnd = "\r\n";

}  // namespace quorlin
