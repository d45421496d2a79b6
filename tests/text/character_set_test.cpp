// Character sets by name, decoding in pieces, and telling a file's set from its first bytes.
#include "text/character_set.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/encoded_files.h"
#include "support/test_files.h"
#include "text/character_set_detection.h"
#include "text/text_decoder.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteEncodedFile;

// Names, accents, the euro, curly quotes and box drawing, as UTF-8.
const std::string kSample =
    "Jos\xC3\xA9 K\xC3\xB6ln,\xE2\x82\xAC 12,\xE2\x80\x9Cquoted\xE2\x80\x9D\r\n"
    "\xC3\x86sir \xC3\x98stby,\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97,\xC3\xA7" "a\r\n";

TEST(CharacterSetNames, AreReadWithoutRegardToCaseAndSavedAsListed) {
  EXPECT_EQ("Windows-1252", CharacterSet::Named("windows-1252")->Name());
  EXPECT_EQ("UTF-16LE", CharacterSet::Named(" utf-16le ")->Name());
  EXPECT_EQ("OEM", CharacterSet::Named("oem")->Name());
  EXPECT_EQ(CharacterSetKind::Legacy, CharacterSet().Kind());
  EXPECT_EQ(1252, CharacterSet::Ansi().CodePage());
  EXPECT_EQ(850, CharacterSet::Named("CP850")->CodePage());
  EXPECT_EQ(0, CharacterSet::Named("ISO-8859-15")->CodePage());
  for (const char* unknown : {"ISO-8859-12", "EBCDIC", "UTF-32", ""}) {
    EXPECT_FALSE(CharacterSet::Named(unknown)) << unknown;
  }
  EXPECT_TRUE(CharacterSet::UnknownMessage("KOI9").starts_with("CharacterSet=KOI9 names no character set"));
}

TEST(CharacterSetNames, EveryListedNameIsOneTheCLibraryConverts) {
  for (const std::string& name : CharacterSetNames()) EXPECT_TRUE(CharacterSet::Named(name)) << name;
}

struct FamilyCase {
  const char* label;
  const char* setName;
  const char* codec;  // Python's name for it
  std::string text;
};

void PrintTo(const FamilyCase& family, std::ostream* out) { *out << family.label; }

// Files of each family, written by Python, decode back to the same characters, whatever the
// sizes of the pieces they arrive in.
class DecodingFamilies : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(DecodingFamilies, GiveTheCharactersPythonWrote) {
  TempDir dir;
  ASSERT_EQ("", WriteEncodedFile(dir.File("sample.txt"), GetParam().text, GetParam().codec));
  const std::string bytes = ReadBytes(dir.File("sample.txt"));
  const CharacterSet set = *CharacterSet::Named(GetParam().setName);
  std::int64_t replaced = 0;
  EXPECT_EQ(GetParam().text, DecodeText(bytes, set, &replaced));
  EXPECT_EQ(0, replaced);
  for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}}) {
    TextDecoder decoder(set);
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      const std::size_t size = std::min(piece, bytes.size() - at);
      std::string room(TextDecoder::Room(size), '\0');
      out.append(room.data(), decoder.Decode(bytes.data() + at, size, room.data()));
    }
    std::string room(TextDecoder::Room(0), '\0');
    out.append(room.data(), decoder.Finish(room.data()));
    EXPECT_EQ(GetParam().text, out) << "pieces of " << piece;
    EXPECT_EQ(0, decoder.Replaced());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodingFamilies,
    ::testing::Values(
        FamilyCase{"Windows1252", "ANSI", "cp1252", "Jos\xC3\xA9 K\xC3\xB6ln \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},
        FamilyCase{"Cp850", "CP850", "cp850", "\xE2\x95\x94\xE2\x95\x90\xE2\x95\x97 \xC3\xA7\xC3\xA0 \xC3\x98"},
        FamilyCase{"Cp437", "CP437", "cp437", "\xE2\x94\x8C\xE2\x94\x80\xE2\x94\x90 \xC3\xA9 \xC2\xBD"},
        FamilyCase{"Iso8859_15", "ISO-8859-15", "iso8859_15", "\xE2\x82\xAC \xC5\x93uvre \xC5\xA0"},
        FamilyCase{"Windows1250", "Windows-1250", "cp1250", "\xC5\x81\xC3\xB3\xC4\x87 \xC5\xBA"},
        FamilyCase{"Utf8", "UTF-8", "utf-8", kSample},
        FamilyCase{"Utf16Le", "UTF-16LE", "utf_16_le", kSample + "\xF0\x9F\x98\x80"},
        FamilyCase{"Utf16Be", "UTF-16BE", "utf_16_be", kSample + "\xF0\x9F\x98\x80"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Decoding, InvalidBytesBecomeReplacementCharactersAndAreCounted) {
  const std::string replacement = "\xEF\xBF\xBD";
  std::int64_t replaced = 0;
  // Windows-1252 leaves 0x81 undefined; a lone Latin-1 byte is no UTF-8.
  EXPECT_EQ("a" + replacement + "b", DecodeText("a\x81" "b", CharacterSet::Ansi(), &replaced));
  EXPECT_EQ("K" + replacement + "ln", DecodeText("K\xF6ln", CharacterSet::Utf8(), &replaced));
  // A sequence cut by the end of the text, and a lone surrogate.
  EXPECT_EQ("ab" + replacement, DecodeText("ab\xE2\x82", CharacterSet::Utf8(), &replaced));
  EXPECT_EQ(replacement + "x", DecodeText(std::string("\x00\xD8x\x00", 4), CharacterSet::Utf16(false), &replaced));
  EXPECT_EQ(4, replaced);
}

// ASCII is copied in runs of sixteen and eight bytes and the two- and three-byte forms are
// checked in place: each form, valid or not, gives the same at every distance from the start
// of a run. An overlong form or an encoded surrogate is one U+FFFD, as a character cut short.
TEST(Decoding, Utf8FormsDecodeAlikeAtEveryPlaceInARunOfAscii) {
  const std::string r = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> forms[] = {
      {"\xC3\xA9", "\xC3\xA9"}, {"\xE2\x82\xAC", "\xE2\x82\xAC"}, {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xE0\x80\xAF", r},         {"\xED\xA0\x80", r},               {"\xC1\xBF", r + r},
      {"\xE0\xA0\x80", "\xE0\xA0\x80"}, {"\xED\x9F\xBF", "\xED\x9F\xBF"}, {"\xF6", r}, {"\xC3", r}};
  std::string bytes;
  std::string expected;
  for (std::size_t run = 0; run <= 33; ++run) {
    for (const auto& [form, decoded] : forms) {
      bytes += std::string(run, 'a') + form;
      expected += std::string(run, 'a') + decoded;
    }
  }
  std::int64_t replaced = 0;
  EXPECT_EQ(expected, DecodeText(bytes, CharacterSet::Utf8(), &replaced));
  EXPECT_EQ(34 * 6, replaced);
}

TEST(Decoding, AnOddLastByteOfUtf16IsOneReplacementCharacter) {
  std::int64_t replaced = 0;
  EXPECT_EQ("hi\xEF\xBF\xBD", DecodeText(std::string("h\0i\0!", 5), CharacterSet::Utf16(false), &replaced));
  EXPECT_EQ(1, replaced);
}

struct DetectionCase {
  const char* label;
  std::string head;
  const char* setName;
};

void PrintTo(const DetectionCase& detection, std::ostream* out) { *out << detection.label; }

class Detection : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(Detection, NamesTheSetOfTheFirstBytes) {
  EXPECT_EQ(GetParam().setName, DetectCharacterSet(GetParam().head, false).Name());
}

INSTANTIATE_TEST_SUITE_P(
    Heads, Detection,
    ::testing::Values(DetectionCase{"Ascii", "a,b\r\n1,2\r\n", "UTF-8"},
                      DetectionCase{"Empty", "", "UTF-8"},
                      DetectionCase{"Utf8Accents", "K\xC3\xB6ln\r\n", "UTF-8"},
                      DetectionCase{"Utf8Mark", "\xEF\xBB\xBF" "K\xF6ln", "UTF-8"},
                      DetectionCase{"Latin", "K\xF6ln\r\n", "ANSI"},
                      DetectionCase{"Utf16LeMark", std::string("\xFF\xFE" "a\0", 4), "UTF-16LE"},
                      DetectionCase{"Utf16BeMark", std::string("\xFE\xFF\0a", 4), "UTF-16BE"},
                      DetectionCase{"Utf16LeUnmarked", std::string("a\0,\0b\0", 6), "UTF-16LE"},
                      DetectionCase{"Utf16BeUnmarked", std::string("\0a\0,\0b", 6), "UTF-16BE"},
                      DetectionCase{"Utf32Mark", std::string("\xFF\xFE\0\0a\0\0\0", 8), "OEM"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Detection, ACharacterCutByTheEndOfTheProbeStillCountsAsUtf8) {
  EXPECT_EQ("UTF-8", DetectCharacterSet("ab\xE2\x82", true).Name());
  EXPECT_EQ("ANSI", DetectCharacterSet("ab\xE2\x82", false).Name());
  EXPECT_EQ("ANSI", DetectCharacterSet("K\xF6ln and more", true).Name());
}

}  // namespace
}  // namespace quorlin
