// Bytes kept in memory a while and written out once, in large blocks.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

// Appends bytes to a small block, then to blocks of a huge page each, where the system gives
// huge pages. Touching memory a small page at a time, and writing it out from there, costs
// several times as much, and a row group's finished pages are tens of megabytes. Clearing keeps
// the blocks, so that what follows finds its memory ready.
class ByteBlocks {
 public:
  ByteBlocks() = default;
  ~ByteBlocks();
  ByteBlocks(const ByteBlocks&) = delete;
  ByteBlocks& operator=(const ByteBlocks&) = delete;

  void Append(std::string_view bytes);
  std::size_t Size() const { return size_; }
  // Writes the `size` bytes from `offset` on to `sink`.
  void WriteTo(ByteSink& sink, std::size_t offset, std::size_t size) const;
  void Clear() { size_ = filling_ = used_ = 0; }

 private:
  struct Block {
    char* data;
    std::size_t capacity;
    void* mapped;  // what to give back
    std::size_t mappedSize;
  };

  void AddBlock();

  std::vector<Block> blocks_;
  std::size_t size_ = 0;
  std::size_t filling_ = 0;  // the block being filled; those before it are full
  std::size_t used_ = 0;     // bytes of that block
};

}  // namespace quorlin
