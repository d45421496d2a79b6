#include "export/parquet/page_compression.h"

#include <snappy-c.h>
#include <zstd.h>

#include "platform/file_error.h"

namespace quorlin::parquet {

namespace {

// A third faster than the library's default level on text pages for one percent more bytes;
// level 1 costs a tenth more bytes.
constexpr int kZstdLevel = 2;

}  // namespace

struct PageCompressor::ZstdContext {
  ZSTD_CCtx* context = ZSTD_createCCtx();
  ~ZstdContext() { ZSTD_freeCCtx(context); }
};

PageCompressor::PageCompressor(Codec codec) : codec_(codec) {
  if (codec == Codec::Zstd) zstd_ = std::make_unique<ZstdContext>();
}

PageCompressor::~PageCompressor() = default;

void PageCompressor::Compress(std::string_view body, std::string& out) {
  const std::size_t start = out.size();
  switch (codec_) {
    case Codec::Uncompressed:
      out.append(body);
      return;
    case Codec::Zstd: {
      out.resize(start + ZSTD_compressBound(body.size()));
      const std::size_t size = ZSTD_compressCCtx(zstd_->context, out.data() + start, out.size() - start,
                                                 body.data(), body.size(), kZstdLevel);
      if (ZSTD_isError(size)) throw FileError(std::string("Cannot compress a Parquet page: ") + ZSTD_getErrorName(size));
      out.resize(start + size);
      return;
    }
    case Codec::Snappy: {
      std::size_t size = snappy_max_compressed_length(body.size());
      out.resize(start + size);
      if (snappy_compress(body.data(), body.size(), out.data() + start, &size) != SNAPPY_OK) {
        throw FileError("Cannot compress a Parquet page with Snappy");
      }
      out.resize(start + size);
      return;
    }
  }
}

}  // namespace quorlin::parquet
