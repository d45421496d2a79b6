// The RLE and bit-packing hybrid that Parquet keeps definition levels and dictionary indices in.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorlin::parquet {

// The bits needed for values up to `largest`, at least 1.
int BitWidthFor(std::uint32_t largest);

// Appends one run of `length` repeats of `value`: its length shifted left by one, then the
// value in whole bytes, little-endian.
void PutRleRun(std::string& out, std::size_t length, std::uint32_t value, int bitWidth);

// Appends `values` (each below 2^bitWidth) as runs of repeats where eight or more equal values
// follow each other, and as bit-packed groups of eight elsewhere (the last group padded).
void PutRleHybrid(std::string& out, std::span<const std::uint32_t> values, int bitWidth);

}  // namespace quorlin::parquet
