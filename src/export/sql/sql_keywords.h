// The reserved words of SQL and of common SQL tools, which a script may not use as bare names.
#pragma once

#include <string_view>

namespace quorlin {

// Whether `word` is one of them, letters compared without regard to case.
bool IsSqlKeyword(std::string_view word);

}  // namespace quorlin
