#include "export/xls/compound_file.h"

#include <string>

#include "export/little_endian.h"

namespace quorlin {

namespace {

constexpr std::uint32_t kSectorSize = 512;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kEntriesPerSector = kSectorSize / 4;
constexpr std::uint32_t kHeaderFatSlots = 109;
constexpr std::uint32_t kDirectoryEntrySize = 128;

constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

constexpr std::uint8_t kStreamObject = 2;
constexpr std::uint8_t kRootStorageObject = 5;
constexpr std::uint8_t kBlack = 1;

std::uint32_t CeilDiv(std::uint64_t value, std::uint64_t unit) {
  return static_cast<std::uint32_t>((value + unit - 1) / unit);
}

// Where every part of the file sits, in sector numbers: FAT, DIFAT, directory, mini FAT, data.
// The data sectors hold the stream itself, or for a short stream the mini stream that holds it;
// both are the stream's bytes padded to whole sectors.
struct Layout {
  std::uint64_t streamSize = 0;
  bool inMiniStream = false;
  std::uint32_t miniSectors = 0;
  std::uint32_t fatSectors = 0;
  std::uint32_t difatSectors = 0;
  std::uint32_t miniFatSectors = 0;
  std::uint32_t dataSectors = 0;

  std::uint32_t FirstDifat() const { return fatSectors; }
  std::uint32_t Directory() const { return fatSectors + difatSectors; }
  std::uint32_t FirstMiniFat() const { return Directory() + 1; }
  std::uint32_t FirstData() const { return FirstMiniFat() + miniFatSectors; }
  std::uint32_t TotalSectors() const { return FirstData() + dataSectors; }
};

Layout PlanLayout(std::uint64_t streamSize) {
  Layout layout;
  layout.streamSize = streamSize;
  layout.inMiniStream = streamSize > 0 && streamSize < kMiniStreamCutoff;
  if (layout.inMiniStream) {
    layout.miniSectors = CeilDiv(streamSize, kMiniSectorSize);
    layout.miniFatSectors = CeilDiv(std::uint64_t{layout.miniSectors} * 4, kSectorSize);
  }
  layout.dataSectors = CeilDiv(streamSize, kSectorSize);
  // The FAT describes its own sectors and the DIFAT's, so grow it until it covers them all.
  for (layout.fatSectors = 1;; ++layout.fatSectors) {
    layout.difatSectors = layout.fatSectors > kHeaderFatSlots
                              ? CeilDiv(layout.fatSectors - kHeaderFatSlots, kEntriesPerSector - 1)
                              : 0;
    if (std::uint64_t{layout.fatSectors} * kEntriesPerSector >= layout.TotalSectors()) break;
  }
  return layout;
}

// Chains `count` sectors from `first` on, the last ending the chain.
void PutChain(std::string& table, std::uint32_t first, std::uint32_t count) {
  for (std::uint32_t i = 1; i <= count; ++i) putU32le(table, i == count ? kEndOfChain : first + i);
}

// Fills the last sector of a table with free entries.
void PadWithFree(std::string& table) {
  while (table.size() % kSectorSize != 0) putU32le(table, kFreeSector);
}

std::string Header(const Layout& layout) {
  std::string header;
  for (unsigned char byte : {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1}) putU8(header, byte);
  putZeros(header, 16);                 // class id
  putU16le(header, 0x003E);             // minor version
  putU16le(header, 0x0003);             // major version: 512-byte sectors
  putU16le(header, 0xFFFE);             // byte order mark: little-endian
  putU16le(header, 9);                  // sector size 2^9
  putU16le(header, 6);                  // mini sector size 2^6
  putZeros(header, 6);
  putU32le(header, 0);                  // directory sector count, always 0 in version 3
  putU32le(header, layout.fatSectors);
  putU32le(header, layout.Directory());
  putU32le(header, 0);                  // transaction signature
  putU32le(header, kMiniStreamCutoff);
  putU32le(header, layout.miniFatSectors > 0 ? layout.FirstMiniFat() : kEndOfChain);
  putU32le(header, layout.miniFatSectors);
  putU32le(header, layout.difatSectors > 0 ? layout.FirstDifat() : kEndOfChain);
  putU32le(header, layout.difatSectors);
  for (std::uint32_t slot = 0; slot < kHeaderFatSlots; ++slot) {
    putU32le(header, slot < layout.fatSectors ? slot : kFreeSector);
  }
  return header;
}

std::string Fat(const Layout& layout) {
  std::string fat;
  fat.reserve(std::size_t{layout.fatSectors} * kSectorSize);
  for (std::uint32_t i = 0; i < layout.fatSectors; ++i) putU32le(fat, kFatSector);
  for (std::uint32_t i = 0; i < layout.difatSectors; ++i) putU32le(fat, kDifatSector);
  putU32le(fat, kEndOfChain);  // the directory's one sector
  PutChain(fat, layout.FirstMiniFat(), layout.miniFatSectors);
  PutChain(fat, layout.FirstData(), layout.dataSectors);
  PadWithFree(fat);
  return fat;
}

// The FAT sectors beyond the header's 109, 127 to a sector, each sector ending with the next.
std::string Difat(const Layout& layout) {
  std::string difat;
  std::uint32_t fatSector = kHeaderFatSlots;
  for (std::uint32_t i = 0; i < layout.difatSectors; ++i) {
    for (std::uint32_t slot = 0; slot < kEntriesPerSector - 1; ++slot, ++fatSector) {
      putU32le(difat, fatSector < layout.fatSectors ? fatSector : kFreeSector);
    }
    putU32le(difat, i + 1 < layout.difatSectors ? layout.FirstDifat() + i + 1 : kEndOfChain);
  }
  return difat;
}

std::string MiniFat(const Layout& layout) {
  std::string miniFat;
  PutChain(miniFat, 0, layout.miniSectors);
  PadWithFree(miniFat);
  return miniFat;
}

void PutDirectoryEntry(std::string& out, std::string_view name, std::uint8_t type,
                       std::uint32_t child, std::uint32_t start, std::uint64_t size) {
  for (char c : name) putU16le(out, static_cast<unsigned char>(c));
  putZeros(out, 64 - name.size() * 2);
  putU16le(out, name.empty() ? 0 : static_cast<std::uint16_t>((name.size() + 1) * 2));
  putU8(out, type);
  putU8(out, type == 0 ? 0 : kBlack);
  putU32le(out, kNoStream);  // left sibling
  putU32le(out, kNoStream);  // right sibling
  putU32le(out, child);
  putZeros(out, 16 + 4 + 8 + 8);  // class id, state bits, creation and modification times
  putU32le(out, start);
  putU64le(out, size);
}

std::string Directory(const Layout& layout, std::string_view streamName) {
  std::string directory;
  const std::uint32_t dataStart = layout.dataSectors > 0 ? layout.FirstData() : kEndOfChain;
  if (layout.inMiniStream) {
    PutDirectoryEntry(directory, "Root Entry", kRootStorageObject, 1, dataStart,
                      std::uint64_t{layout.miniSectors} * kMiniSectorSize);
    PutDirectoryEntry(directory, streamName, kStreamObject, kNoStream, 0, layout.streamSize);
  } else {
    PutDirectoryEntry(directory, "Root Entry", kRootStorageObject, 1, kEndOfChain, 0);
    PutDirectoryEntry(directory, streamName, kStreamObject, kNoStream, dataStart,
                      layout.streamSize);
  }
  while (directory.size() < kSectorSize) {
    PutDirectoryEntry(directory, "", 0, kNoStream, 0, 0);
  }
  return directory;
}

}  // namespace

void WriteCompoundFile(std::string_view streamName,
                       std::initializer_list<std::string_view> streamParts,
                       const std::function<void(std::string_view)>& write) {
  std::uint64_t streamSize = 0;
  for (std::string_view part : streamParts) streamSize += part.size();
  const Layout layout = PlanLayout(streamSize);

  write(Header(layout));
  write(Fat(layout));
  write(Difat(layout));
  write(Directory(layout, streamName));
  write(MiniFat(layout));
  for (std::string_view part : streamParts) {
    if (!part.empty()) write(part);
  }
  const std::uint32_t tail = static_cast<std::uint32_t>(streamSize % kSectorSize);
  if (tail != 0) write(std::string(kSectorSize - tail, '\0'));
}

}  // namespace quorlin
