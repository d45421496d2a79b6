// The program's version as four numbers joined with ".", for example "1.0.1.22".
#pragma once

#include <string>

namespace quorlin {

// Linux programs carry no version resource, so the version the build was given stands in.
std::string FileVersionText();

}  // namespace quorlin
