#include "export/xls/biff_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "export/xls/shared_strings.h"
#include "support/case_names.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

std::uint16_t U16At(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                    static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

BiffString Compressed(std::string text) {
  return {static_cast<std::uint16_t>(text.size()), false, std::move(text)};
}

// Record header bytes: id and length.
std::string Header(std::uint16_t id, std::uint16_t length) {
  return {static_cast<char>(id & 0xFF), static_cast<char>(id >> 8), static_cast<char>(length & 0xFF),
          static_cast<char>(length >> 8)};
}

TEST(ContinuedRecord, SplitsAStringAcrossTheRecordBoundaryWithItsFlagsRepeated) {
  std::string stream;
  {
    ContinuedRecord record(stream, 0x00FC);
    record.PutWhole(std::string(8, 'c'));
    record.PutString(Compressed(std::string(8300, 'a')));
  }
  // 8 count bytes, a 3-byte string header, then as many characters as the record holds.
  const std::size_t first = 8224 - 8 - 3;
  const std::size_t rest = 8300 - first;
  const std::string expected = Header(0x00FC, 8224) + std::string(8, 'c') +
                               std::string("\x6C\x20\x00", 3) + std::string(first, 'a') +
                               Header(0x003C, static_cast<std::uint16_t>(1 + rest)) +
                               std::string(1, '\0') + std::string(rest, 'a');
  EXPECT_SAME_BYTES(expected, stream);
}

TEST(ContinuedRecord, NeverSplitsAWideCharacter) {
  std::string stream;
  {
    ContinuedRecord record(stream, 0x00FC);
    record.PutWhole(std::string(8, 'c'));
    record.PutString({5000, true, std::string(10000, 'w')});
  }
  // 8213 bytes are left after the header: 4106 characters, one byte of room stays empty.
  EXPECT_EQ(8 + 3 + 8212, U16At(stream, 2));
  const std::size_t continueAt = 4 + 8 + 3 + 8212;
  EXPECT_EQ(0x003C, U16At(stream, continueAt));
  EXPECT_EQ(1 + 10000 - 8212, U16At(stream, continueAt + 2));
  EXPECT_EQ('\x01', stream[continueAt + 4]);  // the rest is still UTF-16
}

TEST(ContinuedRecord, StartsAStringWhoseHeaderDoesNotFitInTheNextRecord) {
  std::string stream;
  ContinuedRecord::Place place{};
  {
    ContinuedRecord record(stream, 0x00FC);
    record.PutWhole(std::string(8222, 'c'));  // two bytes of room: too few for a header
    place = record.PutString(Compressed("xyz"));
  }
  EXPECT_EQ(8222, U16At(stream, 2));
  EXPECT_SAME_BYTES(Header(0x003C, 6) + std::string("\x03\x00\x00xyz", 6), stream.substr(4 + 8222));
  EXPECT_EQ(4u + 8222 + 4, place.streamOffset);
  EXPECT_EQ(4u, place.offsetInRecord);  // counted with the CONTINUE's header
}

struct CellTextCase {
  std::string text;
  std::uint16_t characters;
  bool wide;
  std::size_t bytes;
};

// Long texts by their length and their last bytes, where the cases differ.
void PrintTo(const CellTextCase& c, std::ostream* out) {
  if (c.text.size() <= 16) {
    *out << c.text;
  } else {
    *out << c.text.size() << " bytes ending " << c.text.substr(c.text.size() - 4);
  }
}

class CellTexts : public ::testing::TestWithParam<CellTextCase> {};

TEST_P(CellTexts, AreStoredAsCompressedOrUtf16AndCutAtTheCellLimit) {
  const BiffString encoded = EncodeCellText(GetParam().text);
  EXPECT_EQ(GetParam().characters, encoded.characters);
  EXPECT_EQ(GetParam().wide, encoded.wide);
  EXPECT_EQ(GetParam().bytes, encoded.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    , CellTexts,
    ::testing::Values(CellTextCase{"Smith", 5, false, 5},
                      CellTextCase{"Zo\xC3\xAB", 3, true, 6},           // UTF-8: UTF-16
                      CellTextCase{"Zo\xEB", 3, false, 3},              // Latin-1: a byte each
                      CellTextCase{"\xF0\x9F\x98\x80", 2, true, 4},     // a surrogate pair
                      CellTextCase{std::string(40000, 'x'), 32767, false, 32767},
                      // 32766 ASCII characters and an emoji would need 32768 units: cut before it
                      CellTextCase{std::string(32766, 'x') + "\xF0\x9F\x98\x80", 32766, false, 32766},
                      CellTextCase{std::string(32765, 'x') + "\xF0\x9F\x98\x80", 32767, true, 65534}),
    testing::PrintedCaseName{});

TEST(SharedStrings, StoresEachTextOnceAndCountsEveryUse) {
  SharedStrings strings;
  EXPECT_EQ(0u, strings.Add("a"));
  EXPECT_EQ(1u, strings.Add("b"));
  EXPECT_EQ(0u, strings.Add("a"));
  EXPECT_EQ(2u, strings.UniqueCount());
  EXPECT_EQ(3u, strings.TotalCount());
  std::string stream;
  strings.PutRecords(stream);
  // SST: total 3, unique 2, "a", "b"; EXTSST: 8 strings a bucket, the first at offset 12.
  const std::string expected = Header(0x00FC, 16) + std::string("\x03\0\0\0\x02\0\0\0\x01\0\0a\x01\0\0b", 16) +
                               Header(0x00FF, 10) + std::string("\x08\0\x0C\0\0\0\x0C\0\0\0", 10);
  EXPECT_SAME_BYTES(expected, stream);
}

}  // namespace
}  // namespace quorlin
