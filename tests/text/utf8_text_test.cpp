#include "text/utf8_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorlin {
namespace {

struct Utf8Case {
  const char* label;
  std::string bytes;
  bool valid;
};

void PrintTo(const Utf8Case& utf8Case, std::ostream* out) { *out << utf8Case.label; }

class Utf8Validity : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, MatchesStrictUtf8) { EXPECT_EQ(GetParam().valid, IsValidUtf8(GetParam().bytes)); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8Validity,
    ::testing::Values(Utf8Case{"ascii", "plain, text", true},
                      Utf8Case{"two_byte", "caf\xc3\xa9", true},
                      Utf8Case{"four_byte", "\xf0\x9f\x98\x80", true},
                      Utf8Case{"lone_latin1", "caf\xe9", false},
                      Utf8Case{"overlong_slash", "\xc0\xaf", false},
                      Utf8Case{"surrogate", "\xed\xa0\x80", false},
                      Utf8Case{"above_max", "\xf4\x90\x80\x80", false},
                      Utf8Case{"truncated", "\xe2\x82", false},
                      Utf8Case{"stray_continuation", "a\x80", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Utf8Text, AStrayByteAtAnyPlaceOfAnyShortLengthIsInvalid) {
  for (std::size_t length = 1; length <= 24; ++length) {
    for (std::size_t place = 0; place < length; ++place) {
      std::string bytes(length, 'a');
      bytes[place] = '\x80';
      EXPECT_FALSE(IsValidUtf8(bytes)) << length << " bytes, stray byte at " << place;
    }
    EXPECT_TRUE(IsValidUtf8(std::string(length, 'a')));
  }
}

TEST(Utf8Text, DecodesCodePointsWhoseLengthsGiveTheBytesBack) {
  std::u32string codes;
  ASSERT_TRUE(DecodeUtf8("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", codes));
  EXPECT_EQ((std::u32string{U'a', U'\u00e9', U'\u20ac', U'\U0001F600'}), codes);
  std::size_t bytes = 0;
  for (const char32_t code : codes) bytes += Utf8Length(code);
  EXPECT_EQ(10u, bytes);
  EXPECT_FALSE(DecodeUtf8("caf\xe9", codes));
}

TEST(Utf8Text, EncodesEveryLengthAndLatin1BytesAsTheirCharacters) {
  std::string out;
  for (const char32_t code : {U'a', U'\u00e9', U'\u20ac', U'\U0001F600'}) AppendUtf8(out, code);
  EXPECT_EQ("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", out);
  EXPECT_EQ("caf\xc3\xa9", AsUtf8("caf\xe9"));
  EXPECT_EQ("caf\xc3\xa9", AsUtf8("caf\xc3\xa9"));
}

// "a€😀" is a at 0, € at 1 to 3, 😀 at 4 to 7.
TEST(Utf8Text, CutsNeverSplitACharacter) {
  const std::string text = "a\xe2\x82\xac\xf0\x9f\x98\x80";
  EXPECT_EQ((std::vector<std::size_t>{0, 1, 1, 1, 4, 4, 4, 4, 8}), [&] {
    std::vector<std::size_t> cuts;
    for (std::size_t at = 0; at <= text.size(); ++at) cuts.push_back(Utf8CutBefore(text, at));
    return cuts;
  }());
  EXPECT_EQ(4u, Utf8CutAfter(text, 2));
  EXPECT_EQ(8u, Utf8CutAfter(text, 5));
  EXPECT_EQ(8u, Utf8CutAfter(text, 20));
  EXPECT_EQ("a\xe2\x82\xac", CutAtCharacter(text, 7));
  EXPECT_EQ(text, CutAtCharacter(text, 100));
}

TEST(Utf8Text, CutsBytesThatContinueNoCharacterWhereAsked) {
  const std::string latin1(10, '\xa0');
  EXPECT_EQ(5u, Utf8CutBefore(latin1, 5));
  EXPECT_EQ(5u, Utf8CutAfter(latin1, 5));
  EXPECT_EQ("ab", CutAtCharacter("ab\x80\x80\x80\x80", 2));
  EXPECT_EQ("ab\x80\x80", CutAtCharacter("ab\x80\x80\x80\x80", 4));
}

}  // namespace
}  // namespace quorlin
