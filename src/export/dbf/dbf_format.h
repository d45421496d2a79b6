// The dBase III file layout: header, field descriptors, terminator and end-of-file marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorlin {

inline constexpr std::size_t kDbfHeaderSize = 32;
inline constexpr std::size_t kDbfDescriptorSize = 32;
inline constexpr std::size_t kDbfRecordCountOffset = 4;
inline constexpr std::size_t kDbfMaxNameLength = 10;
inline constexpr char kDbfHeaderTerminator = 0x0D;
inline constexpr char kDbfEndOfFile = 0x1A;
inline constexpr char kDbfLiveRecord = ' ';

// One column as its descriptor states it.
struct DbfColumn {
  std::string name;      // at most 10 bytes
  char typeLetter = 'C';  // C, N, L or D
  std::uint8_t length = 0;
  std::uint8_t decimals = 0;
};

struct DbfDate {
  int year = 2000;
  int month = 1;
  int day = 1;
};

// The 32-byte descriptor of one column.
std::string DbfDescriptor(const DbfColumn& column);

inline constexpr std::size_t kDbfLanguageDriverOffset = 29;

// The language driver byte that names the code page of the character fields: DOS 437, DOS
// 850 or Windows 1252; 0 (none named) for any other code page.
std::uint8_t DbfLanguageDriver(int codePage);

// The whole header block: the 32 header bytes, a descriptor per column and the terminator.
std::string MakeDbfHeader(const std::vector<DbfColumn>& columns, std::uint32_t recordCount,
                          std::uint16_t recordLength, DbfDate exportDate,
                          std::uint8_t languageDriver = 0);

// The bytes of the header block for `columnCount` columns.
constexpr std::size_t DbfHeaderLength(std::size_t columnCount) {
  return kDbfHeaderSize + kDbfDescriptorSize * columnCount + 1;
}

// The four bytes of a record count, as stored at kDbfRecordCountOffset.
std::string DbfRecordCountBytes(std::uint32_t recordCount);

// Descriptor names for field names: cut to 10 bytes, never blank, never repeated.
std::vector<std::string> DbfColumnNames(const std::vector<std::string>& fieldNames);

}  // namespace quorlin
