// The Thrift compact protocol and the RLE hybrid, byte for byte, and the dictionary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/little_endian.h"
#include "export/parquet/rle_hybrid.h"
#include "export/parquet/string_dictionary.h"
#include "export/parquet/thrift_compact.h"
#include "support/test_files.h"

namespace quorlin::parquet {
namespace {

TEST(CompactWriter, WritesShortFieldHeadersAsDistancesAndLongOnesWithTheId) {
  std::string bytes;
  CompactWriter writer(bytes);
  writer.BeginStruct();
  writer.FieldI32(1, 3);     // 0x15, zigzag 6
  writer.FieldI64(2, -1);    // 0x16, zigzag 1
  writer.FieldBool(3, true);  // 0x11
  writer.FieldBinary(20, "ab");  // distance 17: type byte, then the id as a zigzag varint
  writer.EndStruct();
  EXPECT_SAME_BYTES(std::string("\x15\x06\x16\x01\x11\x08\x28\x02" "ab" "\x00", 11), bytes);
}

TEST(CompactWriter, ReturnsToTheEnclosingStructsIdsAfterANestedOne) {
  std::string bytes;
  CompactWriter writer(bytes);
  writer.BeginStruct();
  writer.FieldStruct(5);  // 0x5C
  writer.FieldI32(7, 0);  // 0x75 0x00: ids start again inside
  writer.EndStruct();
  writer.FieldI32(6, 1);  // 0x15 0x02: the distance from 5, not from 7
  writer.EndStruct();
  EXPECT_SAME_BYTES(std::string("\x5C\x75\x00\x00\x15\x02\x00", 7), bytes);
}

TEST(CompactWriter, WritesTheSizeOfLongListsAfterTheirHeader) {
  std::string shortList;
  CompactWriter(shortList).FieldList(1, CompactType::I32, 14);
  EXPECT_SAME_BYTES("\x19\xE5", shortList);
  std::string longList;
  CompactWriter(longList).FieldList(1, CompactType::Struct, 300);
  EXPECT_SAME_BYTES("\x19\xFC\xAC\x02", longList);
}

TEST(RleHybrid, WritesEightOrMoreEqualValuesAsOneRun) {
  std::string bytes;
  const std::vector<std::uint32_t> ones(10, 1);
  PutRleHybrid(bytes, ones, 1);
  EXPECT_SAME_BYTES("\x14\x01", bytes);
}

TEST(RleHybrid, PacksMixedValuesFromTheLowestBitAndPadsTheLastGroup) {
  std::string bytes;
  const std::vector<std::uint32_t> values = {1, 0, 1, 1, 0, 0, 1, 0, 1};
  PutRleHybrid(bytes, values, 1);
  // Two groups; the second holds one value and seven zeros.
  EXPECT_SAME_BYTES(std::string("\x05\x4D\x01", 3), bytes);
}

TEST(RleHybrid, FillsTheLastLiteralGroupFromARunBeforeTheRunStarts) {
  std::string bytes;
  std::vector<std::uint32_t> values = {2, 1, 3};
  values.insert(values.end(), 13, 0);
  PutRleHybrid(bytes, values, 2);
  // One packed group (2 1 3 and five zeros), then a run of the eight zeros left.
  EXPECT_SAME_BYTES(std::string("\x03\x36\x00\x10\x00", 5), bytes);
  EXPECT_EQ(1, BitWidthFor(0));
  EXPECT_EQ(9, BitWidthFor(256));
}

TEST(StringDictionary, TellsApartValuesOfOneLengthThatDifferInAnyByte) {
  // Each value differs from the first of its length in one byte, at every place of every
  // length up to twenty: the parts a hash loads must cover every byte.
  StringDictionary strings;
  std::size_t expected = 0;
  for (std::size_t length = 1; length <= 20; ++length) {
    for (std::size_t place = 0; place <= length; ++place) {
      std::string value(length, 'a');
      if (place < length) value[place] = 'b';
      bool added = false;
      EXPECT_EQ(expected, strings.IndexOf(value, added)) << value;
      EXPECT_TRUE(added) << value;
      EXPECT_EQ(expected, strings.IndexOf(value, added)) << value;
      EXPECT_FALSE(added) << value;
      ++expected;
    }
  }
  // Numbers of four bytes are told apart by their hashes alone, those of eight by their bytes;
  // these differ in high bits. Each is given its number, and one given before is found again.
  StringDictionary numbers(StringDictionary::EntryForm::FixedWidth);
  StringDictionary longNumbers(StringDictionary::EntryForm::FixedWidth);
  const auto plain = [](std::uint32_t n) {
    std::string bytes;
    putU32le(bytes, n * 65'537U);
    return bytes;
  };
  const auto longPlain = [](std::uint32_t n) {
    std::string bytes;
    putU64le(bytes, std::uint64_t{n} << 40);
    return bytes;
  };
  for (std::uint32_t n = 0; n < 70'000; ++n) {
    bool added = false;
    ASSERT_EQ(n, numbers.IndexOf(plain(n), added));
    ASSERT_TRUE(added);
    ASSERT_EQ(n, longNumbers.IndexOf(longPlain(n), added));
    ASSERT_TRUE(added);
    ASSERT_EQ(n / 2, numbers.IndexOf(plain(n / 2), added));
    ASSERT_FALSE(added);
    ASSERT_EQ(n / 2, longNumbers.IndexOf(longPlain(n / 2), added));
    ASSERT_FALSE(added);
  }
}

TEST(StringDictionary, NumbersNearTheFirstAndFarFromItAreNumberedInTheOrderTheyCome) {
  // Days around the first one, those of the window's edges among them, then far ones; each
  // twice, the second time found again.
  StringDictionary days(StringDictionary::EntryForm::FixedWidth);
  const std::uint32_t first = 20'000;
  std::vector<std::uint32_t> values = {first, first - 8'192, first + 8'191, first - 8'193, first + 8'192, 0, 0xFFFFFFFFU};
  for (std::uint32_t step = 1; step < 12'000; step += 7) values.push_back(first + step * (step % 2 == 0 ? 1 : -1));
  std::uint32_t expected = 0;
  for (const std::uint32_t value : values) {
    std::string plain;
    putU32le(plain, value);
    bool added = false;
    const std::uint32_t number = days.IndexOf(plain, added);
    if (added) {
      EXPECT_EQ(expected++, number) << value;
    }
    EXPECT_EQ(number, days.IndexOf(plain, added)) << value;
    EXPECT_FALSE(added) << value;
    EXPECT_EQ(plain, days.Entry(number)) << value;
  }
  EXPECT_EQ(expected, days.Size());
}

}  // namespace
}  // namespace quorlin::parquet
