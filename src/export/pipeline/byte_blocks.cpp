#include "export/pipeline/byte_blocks.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace quorlin {

namespace {

// Few bytes take one small block; more take blocks of a huge page each.
constexpr std::size_t kFirstBlockBytes = std::size_t{64} << 10;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

}  // namespace

ByteBlocks::~ByteBlocks() {
  for (const Block& block : blocks_) ::munmap(block.mapped, block.mappedSize);
}

void ByteBlocks::AddBlock() {
  const bool huge = !blocks_.empty();
  const std::size_t capacity = huge ? kHugePageBytes : kFirstBlockBytes;
  // A huge page must start at a multiple of its size, so its block is mapped with room to move
  // its start there.
  const std::size_t mappedSize = huge ? capacity + kHugePageBytes : capacity;
  void* const mapped = ::mmap(nullptr, mappedSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  auto address = reinterpret_cast<std::uintptr_t>(mapped);
  if (huge) {
    address = (address + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
    // Only a hint: without huge pages the block serves all the same.
    ::madvise(reinterpret_cast<void*>(address), capacity, MADV_HUGEPAGE);
  }
  blocks_.push_back({reinterpret_cast<char*>(address), capacity, mapped, mappedSize});
}

void ByteBlocks::Append(std::string_view bytes) {
  while (!bytes.empty()) {
    if (filling_ == blocks_.size()) AddBlock();
    const Block& block = blocks_[filling_];
    const std::size_t part = std::min(bytes.size(), block.capacity - used_);
    std::memcpy(block.data + used_, bytes.data(), part);
    used_ += part;
    size_ += part;
    bytes.remove_prefix(part);
    if (used_ == block.capacity) {
      ++filling_;
      used_ = 0;
    }
  }
}

void ByteBlocks::WriteTo(ByteSink& sink, std::size_t offset, std::size_t size) const {
  for (const Block& block : blocks_) {
    if (size == 0) return;
    if (offset >= block.capacity) {
      offset -= block.capacity;
      continue;
    }
    const std::size_t part = std::min(size, block.capacity - offset);
    sink.Write(std::string_view(block.data + offset, part));
    size -= part;
    offset = 0;
  }
}

}  // namespace quorlin
