#include "export/dbf/dbf_format.h"

#include <unordered_set>

#include "export/little_endian.h"
#include "platform/ascii_case.h"
#include "text/record_splitter.h"

namespace quorlin {

namespace {

constexpr std::uint8_t kDbaseIII = 0x03;

// The first `limit` bytes of `name`, one less while that would cut a UTF-8 character.
std::string CutName(std::string_view name, std::size_t limit) {
  if (name.size() <= limit) return std::string(name);
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return std::string(name.substr(0, end));
}

std::string NameKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = AsciiLower(c);
  return key;
}

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

std::string MakeDbfHeader(const std::vector<DbfColumn>& columns, std::uint32_t recordCount,
                          std::uint16_t recordLength, DbfDate exportDate) {
  const std::size_t headerLength = kDbfHeaderSize + kDbfDescriptorSize * columns.size() + 1;
  std::string header;
  header.reserve(headerLength);
  putU8(header, kDbaseIII);
  putU8(header, static_cast<std::uint8_t>(exportDate.year % 100 + (exportDate.year >= 2000 ? 100 : 0)));
  putU8(header, static_cast<std::uint8_t>(exportDate.month));
  putU8(header, static_cast<std::uint8_t>(exportDate.day));
  putU32le(header, recordCount);
  putU16le(header, static_cast<std::uint16_t>(headerLength));
  putU16le(header, recordLength);
  putZeros(header, 20);
  for (const DbfColumn& column : columns) header += DbfDescriptor(column);
  header.push_back(kDbfHeaderTerminator);
  return header;
}

std::vector<std::string> DbfColumnNames(const std::vector<std::string>& fieldNames) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;
  names.reserve(fieldNames.size());
  for (std::size_t i = 0; i < fieldNames.size(); ++i) {
    std::string name = CutName(fieldNames[i], kDbfMaxNameLength);
    if (Trim(name).empty()) name = "FIELD" + std::to_string(i + 1);
    const std::string base = name;
    for (int suffix = 2; taken.count(NameKey(name)) > 0; ++suffix) {
      const std::string ending = "_" + std::to_string(suffix);
      name = CutName(base, kDbfMaxNameLength - ending.size()) + ending;
    }
    taken.insert(NameKey(name));
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace quorlin
