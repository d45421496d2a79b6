// Column names a table format can hold: cut to its limit, never blank, never repeated.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/utf8_text.h"

namespace quorlin {

// Each name cut to `maxLength` bytes (never inside a UTF-8 character); a blank one becomes
// "FIELD" + its position from 1; a name that repeats an earlier one (compared without regard
// to ASCII letter case) gets the ending "_2", "_3", ... within the limit.
std::vector<std::string> UniqueColumnNames(const std::vector<std::string>& names,
                                           std::size_t maxLength);

}  // namespace quorlin
