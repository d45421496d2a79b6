// The compound-document container that holds one stream in its root storage.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace quorlin {

// Streams shorter than this live in the mini stream, in 64-byte mini sectors.
inline constexpr std::uint32_t kMiniStreamCutoff = 4096;

// Writes a compound document (version 3, 512-byte sectors) whose root storage holds one stream
// named `streamName` (ASCII, at most 31 characters) with the bytes of `streamParts` one after
// the other. The bytes go to `write` in file order, so a large stream is never copied: the
// container's own sectors come first and the stream's sectors last.
void WriteCompoundFile(std::string_view streamName,
                       std::initializer_list<std::string_view> streamParts,
                       const std::function<void(std::string_view)>& write);

}  // namespace quorlin
