// Compressing page bodies with the file's codec.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "export/parquet/file_metadata.h"

namespace quorlin::parquet {

// Keeps the compressor's state between pages, which saves setting it up for every page.
class PageCompressor {
 public:
  explicit PageCompressor(Codec codec);
  ~PageCompressor();
  PageCompressor(const PageCompressor&) = delete;
  PageCompressor& operator=(const PageCompressor&) = delete;

  Codec Which() const { return codec_; }
  // Appends the compressed form of `body` to `out` (the body itself when uncompressed).
  void Compress(std::string_view body, std::string& out);

 private:
  Codec codec_;
  struct ZstdContext;
  std::unique_ptr<ZstdContext> zstd_;
};

}  // namespace quorlin::parquet
