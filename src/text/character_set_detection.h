// The character set of a data file that no layout names one for, told from its first bytes.
#pragma once

#include <string>
#include <string_view>

#include "text/character_set.h"

namespace quorlin {

// How much of a file the detection looks at.
inline constexpr std::size_t kCharacterSetProbeBytes = 65536;

// A byte order mark decides (UTF-8, UTF-16LE, UTF-16BE); else text whose zero bytes all stand
// at odd or all at even places is UTF-16 without a mark (little or big endian); else valid
// UTF-8 is UTF-8 (a sequence cut by the end of `head` counts as valid when `cut`); else ANSI.
// A UTF-32 mark gives the legacy default, which readers refuse with their own message.
CharacterSet DetectCharacterSet(std::string_view head, bool cut);

// The same for the first kCharacterSetProbeBytes of the file at `path`; the legacy default
// when it cannot be read (reading it then says why).
CharacterSet DetectFileCharacterSet(const std::string& path);

}  // namespace quorlin
