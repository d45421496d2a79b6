// Little-endian integers appended to, or stored into, a byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorlin {

inline void putU8(std::string& out, std::uint8_t value) { out.push_back(static_cast<char>(value)); }

inline void putU16le(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

// Columnar writers put millions of these: the bytes go in with one append, not one at a time.
inline void putU32le(std::string& out, std::uint32_t value) {
  char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  out.append(bytes, 4);
}

inline void putU64le(std::string& out, std::uint64_t value) {
  char bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  out.append(bytes, 8);
}

inline void putZeros(std::string& out, std::size_t count) { out.append(count, '\0'); }

// Overwrites bytes already in the buffer, for counts and offsets known only later.
inline void storeU16le(std::string& out, std::size_t offset, std::uint16_t value) {
  out[offset] = static_cast<char>(value & 0xFF);
  out[offset + 1] = static_cast<char>(value >> 8);
}

inline void storeU32le(std::string& out, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace quorlin
