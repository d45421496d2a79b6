// Unsigned LEB128 integers, as Thrift's compact protocol and the RLE hybrid's headers write them.
#pragma once

#include <cstdint>
#include <string>

namespace quorlin::parquet {

inline void PutVarint(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

}  // namespace quorlin::parquet
