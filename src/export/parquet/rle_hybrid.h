// The RLE and bit-packing hybrid that Parquet keeps definition levels and dictionary indices in.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorlin::parquet {

// The bits needed for values up to `largest`, at least 1.
int BitWidthFor(std::uint32_t largest);

// Appends `values` (each below 2^bitWidth) as runs of repeats where eight or more equal values
// follow each other, and as bit-packed groups of eight elsewhere (the last group padded).
void PutRleHybrid(std::string& out, std::span<const std::uint32_t> values, int bitWidth);

}  // namespace quorlin::parquet
