// Compressing page bodies with the file's codec.
#pragma once

#include <string_view>

#include "export/parquet/file_metadata.h"

namespace quorlin::parquet {

// The compressed form of `body` (the body itself when uncompressed), valid until the thread
// compresses again. Each thread keeps its compressor's state and output room between pages:
// setting them up for every page would cost more than compressing many a page, and one set per
// thread rather than per column stays in the thread's cache.
std::string_view CompressPage(Codec codec, std::string_view body);

}  // namespace quorlin::parquet
