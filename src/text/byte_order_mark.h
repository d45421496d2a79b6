// Byte order marks at the start of a text file: UTF-8 marks are skipped, wide text is refused.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorlin {

enum class ByteOrderMark { kNone, kUtf8, kUtf16, kUtf32 };

// The mark the first bytes of a file start with (either byte order for UTF-16 and UTF-32).
ByteOrderMark ByteOrderMarkOf(std::string_view firstBytes);

// Bytes of a UTF-8 mark, which is not part of the file's text.
inline constexpr std::size_t kUtf8MarkLength = 3;

// What the user is told about a UTF-16 or UTF-32 file: its path, its form and how to turn
// it into a file the program reads.
std::string WideTextMessage(const std::string& path, ByteOrderMark mark);

// WideTextMessage for the file at `path` when it starts with a UTF-16 or UTF-32 mark;
// nothing when it does not, or cannot be read (the reading itself then says why).
std::optional<std::string> WideTextRefusal(const std::string& path);

}  // namespace quorlin
