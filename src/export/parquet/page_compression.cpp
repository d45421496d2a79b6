#include "export/parquet/page_compression.h"

#include <snappy-c.h>
#include <zstd.h>

#include <memory>
#include <new>
#include <string>

#include "platform/file_error.h"

namespace quorlin::parquet {

namespace {

// A third faster than the library's default level on text pages for one percent more bytes;
// level 1 costs a tenth more bytes.
constexpr int kZstdLevel = 2;

// One thread's compressor state and output room.
class CompressionState {
 public:
  CompressionState() = default;
  ~CompressionState() { ZSTD_freeCCtx(zstd_); }
  CompressionState(const CompressionState&) = delete;
  CompressionState& operator=(const CompressionState&) = delete;

  ZSTD_CCtx* Zstd() {
    if (zstd_ == nullptr) zstd_ = ZSTD_createCCtx();
    if (zstd_ == nullptr) throw std::bad_alloc();
    return zstd_;
  }
  // Room for `size` bytes of output; not filled, as the compressor writes it.
  char* Room(std::size_t size) {
    if (roomSize_ < size) {
      room_.reset(new char[size]);
      roomSize_ = size;
    }
    return room_.get();
  }

 private:
  ZSTD_CCtx* zstd_ = nullptr;
  std::unique_ptr<char[]> room_;
  std::size_t roomSize_ = 0;
};

thread_local CompressionState state;

}  // namespace

std::string_view CompressPage(Codec codec, std::string_view body) {
  switch (codec) {
    case Codec::Uncompressed:
      return body;
    case Codec::Zstd: {
      const std::size_t bound = ZSTD_compressBound(body.size());
      char* const out = state.Room(bound);
      const std::size_t size = ZSTD_compressCCtx(state.Zstd(), out, bound, body.data(), body.size(), kZstdLevel);
      if (ZSTD_isError(size)) throw FileError(std::string("Cannot compress a Parquet page: ") + ZSTD_getErrorName(size));
      return {out, size};
    }
    case Codec::Snappy: {
      std::size_t size = snappy_max_compressed_length(body.size());
      char* const out = state.Room(size);
      if (snappy_compress(body.data(), body.size(), out, &size) != SNAPPY_OK) {
        throw FileError("Cannot compress a Parquet page with Snappy");
      }
      return {out, size};
    }
  }
  return body;
}

}  // namespace quorlin::parquet
