// Byte order marks at the start of a text file: UTF-8 and UTF-16 marks say the set and are
// skipped, UTF-32 text is refused.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

enum class ByteOrderMark { None, Utf8, Utf16Le, Utf16Be, Utf32 };

// The mark the first bytes of a file start with (either byte order for UTF-16 and UTF-32).
ByteOrderMark ByteOrderMarkOf(std::string_view firstBytes);

// Bytes of the mark, which is not part of the file's text.
std::size_t MarkLength(ByteOrderMark mark);

// What the user is told about a UTF-32 file: its path and how to turn it into a file the
// program reads.
std::string WideTextMessage(const std::string& path);

// WideTextMessage for the file at `path` when it starts with a UTF-32 mark; nothing when it
// does not, or cannot be read (the reading itself then says why).
std::optional<std::string> WideTextRefusal(const std::string& path);

}  // namespace quorlin
