#include "text/utf8_text.h"

#include <gtest/gtest.h>

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

TEST(Utf8Text, DecodesCodePointsWhoseLengthsGiveTheBytesBack) {
  std::u32string codes;
  ASSERT_TRUE(DecodeUtf8("a\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", codes));
  EXPECT_EQ((std::u32string{U'a', U'\u00e9', U'\u20ac', U'\U0001F600'}), codes);
  std::size_t bytes = 0;
  for (const char32_t code : codes) bytes += Utf8Length(code);
  EXPECT_EQ(10u, bytes);
  EXPECT_FALSE(DecodeUtf8("caf\xe9", codes));
}

}  // namespace
}  // namespace quorlin
