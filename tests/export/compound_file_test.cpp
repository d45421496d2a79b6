#include "export/xls/compound_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/case_names.h"

namespace quorlin {
namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

std::string Container(const std::string& stream) {
  std::string file;
  WriteCompoundFile("Workbook", {stream}, [&](std::string_view bytes) { file.append(bytes); });
  return file;
}

std::string Sector(const std::string& file, std::uint32_t number, std::size_t size = 512) {
  return file.substr(512 + std::size_t{number} * 512, size);
}

// The FAT entry of `sector`, found through the header's and the DIFAT sectors' FAT lists.
std::uint32_t FatEntry(const std::string& file, std::uint32_t sector) {
  const std::uint32_t fatIndex = sector / 128;
  std::uint32_t fatSector = 0;
  if (fatIndex < 109) {
    fatSector = U32At(file, 76 + 4 * fatIndex);
  } else {
    std::uint32_t difat = U32At(file, 68);
    std::uint32_t rest = fatIndex - 109;
    while (rest >= 127) {
      difat = U32At(Sector(file, difat), 127 * 4);
      rest -= 127;
    }
    fatSector = U32At(Sector(file, difat), rest * 4);
  }
  return U32At(Sector(file, fatSector), (sector % 128) * 4);
}

// The stream as a reader finds it: the second directory entry, through the FAT or through
// the mini FAT and the root entry's mini stream.
std::string ReadStream(const std::string& file) {
  const std::string directory = Sector(file, U32At(file, 48));
  const std::uint32_t start = U32At(directory, 128 + 116);
  const std::uint32_t size = U32At(directory, 128 + 120);
  std::string stream;
  if (size < U32At(file, 56)) {
    std::string mini;
    for (std::uint32_t s = U32At(directory, 116); s != 0xFFFFFFFE; s = FatEntry(file, s)) {
      mini += Sector(file, s);
    }
    const std::string miniFat = Sector(file, U32At(file, 60));
    for (std::uint32_t s = start; s != 0xFFFFFFFE; s = U32At(miniFat, s * 4)) {
      stream += mini.substr(std::size_t{s} * 64, 64);
    }
  } else {
    for (std::uint32_t s = start; s != 0xFFFFFFFE; s = FatEntry(file, s)) stream += Sector(file, s);
  }
  return stream.substr(0, size);
}

struct ContainerCase {
  std::size_t streamSize;
  std::uint32_t fatSectors;
  std::uint32_t difatSectors;
  bool inMiniStream;
};

void PrintTo(const ContainerCase& c, std::ostream* out) { *out << "stream of " << c.streamSize << " bytes"; }

class CompoundFileSizes : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(CompoundFileSizes, StoresTheStreamWhereAReaderFindsIt) {
  std::string stream(GetParam().streamSize, '\0');
  for (std::size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<char>(i * 7 + i / 251);
  const std::string file = Container(stream);

  EXPECT_EQ(0u, file.size() % 512);
  EXPECT_EQ("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", file.substr(0, 8));
  EXPECT_EQ(GetParam().fatSectors, U32At(file, 44));
  EXPECT_EQ(GetParam().difatSectors, U32At(file, 72));
  EXPECT_EQ(GetParam().inMiniStream, U32At(file, 60) != 0xFFFFFFFE);
  EXPECT_TRUE(ReadStream(file) == stream) << "the stream read back differs";
}

INSTANTIATE_TEST_SUITE_P(, CompoundFileSizes,
                         ::testing::Values(ContainerCase{1, 1, 0, true},
                                           ContainerCase{4095, 1, 0, true},
                                           ContainerCase{4096, 1, 0, false},
                                           ContainerCase{5000, 1, 0, false},
                                           // 109 FAT sectors cover 55,808 sectors in all
                                           ContainerCase{28'000'000, 431, 3, false}),
                         testing::PrintedCaseName{});

TEST(CompoundFile, NamesTheRootAndTheStreamInTheDirectory) {
  const std::string file = Container("BIFF");
  const std::string directory = Sector(file, U32At(file, 48));
  EXPECT_EQ(std::string("R\0o\0o\0t\0 \0E\0n\0t\0r\0y\0\0\0", 22), directory.substr(0, 22));
  EXPECT_EQ(5, directory[66]);  // root storage
  EXPECT_EQ(std::string("W\0o\0r\0k\0b\0o\0o\0k\0\0\0", 18), directory.substr(128, 18));
  EXPECT_EQ(2, directory[128 + 66]);  // stream
  EXPECT_EQ(1u, U32At(directory, 76));  // the root's child is the stream
}

}  // namespace
}  // namespace quorlin
