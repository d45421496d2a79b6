#include "export/dbf/dbf_format.h"

#include "export/column_names.h"
#include "export/little_endian.h"

namespace quorlin {

namespace {

constexpr std::uint8_t kDbaseIII = 0x03;

}  // namespace

std::string DbfDescriptor(const DbfColumn& column) {
  std::string descriptor = column.name.substr(0, kDbfMaxNameLength);
  descriptor.resize(11, '\0');
  descriptor.push_back(column.typeLetter);
  putZeros(descriptor, 4);  // field data address
  putU8(descriptor, column.length);
  putU8(descriptor, column.decimals);
  putZeros(descriptor, 14);
  return descriptor;
}

std::string DbfRecordCountBytes(std::uint32_t recordCount) {
  std::string bytes;
  putU32le(bytes, recordCount);
  return bytes;
}

std::uint8_t DbfLanguageDriver(int codePage) {
  switch (codePage) {
    case 437: return 0x01;
    case 850: return 0x02;
    case 1252: return 0x03;
    default: return 0;
  }
}

std::string MakeDbfHeader(const std::vector<DbfColumn>& columns, std::uint32_t recordCount,
                          std::uint16_t recordLength, DbfDate exportDate, std::uint8_t languageDriver) {
  const std::size_t headerLength = DbfHeaderLength(columns.size());
  std::string header;
  header.reserve(headerLength);
  putU8(header, kDbaseIII);
  putU8(header, static_cast<std::uint8_t>(exportDate.year % 100 + (exportDate.year >= 2000 ? 100 : 0)));
  putU8(header, static_cast<std::uint8_t>(exportDate.month));
  putU8(header, static_cast<std::uint8_t>(exportDate.day));
  putU32le(header, recordCount);
  putU16le(header, static_cast<std::uint16_t>(headerLength));
  putU16le(header, recordLength);
  putZeros(header, kDbfLanguageDriverOffset - header.size());
  putU8(header, languageDriver);
  putZeros(header, kDbfHeaderSize - header.size());
  for (const DbfColumn& column : columns) header += DbfDescriptor(column);
  header.push_back(kDbfHeaderTerminator);
  return header;
}

std::vector<std::string> DbfColumnNames(const std::vector<std::string>& fieldNames) {
  return UniqueColumnNames(fieldNames, kDbfMaxNameLength);
}

}  // namespace quorlin
