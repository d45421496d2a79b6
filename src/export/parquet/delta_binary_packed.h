// Whole numbers as differences of neighbours, bit-packed: Parquet's DELTA_BINARY_PACKED.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorlin::parquet {

// Appends `values` in blocks of 128 differences, each less the block's least and packed in
// four miniblocks of 32 with the bits their largest needs. Running numbers take next to no
// bytes this way. Differences wrap around in the values' own width, as readers undo them.
void PutDeltaBinaryPacked(std::string& out, std::span<const std::int32_t> values);
void PutDeltaBinaryPacked(std::string& out, std::span<const std::int64_t> values);

}  // namespace quorlin::parquet
