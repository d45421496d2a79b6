// The finished pages of a row group, all its columns' in one store.
#pragma once

#include <cstddef>
#include <mutex>
#include <string_view>

#include "export/pipeline/byte_blocks.h"
#include "export/pipeline/byte_sink.h"

namespace quorlin::parquet {

// One store for every column, so that the memory the pages take is their bytes and at most one
// block more, however many columns a file has. Columns filled on several threads put their
// pages in at once.
class PageStore {
 public:
  // Where a page lies in the store.
  struct Place {
    std::size_t offset = 0;
    std::size_t size = 0;
  };

  // Keeps a page made of `header` and `body`.
  Place Put(std::string_view header, std::string_view body);
  void WriteTo(ByteSink& sink, Place place) const;
  // Forgets every page, once the row group is stored.
  void Clear();

 private:
  mutable std::mutex mutex_;
  ByteBlocks blocks_;
};

}  // namespace quorlin::parquet
