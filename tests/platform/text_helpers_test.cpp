// The byte helpers every library shares: trimming and ASCII letter case.
#include <gtest/gtest.h>

#include "platform/ascii_case.h"
#include "platform/trim.h"

namespace quorlin {
namespace {

TEST(Trim, RemovesEveryControlCharacterAndBlankFromBothEnds) {
  EXPECT_EQ("a b", Trim(std::string("\0\t a b\r\n\x1f ", 10)));
  EXPECT_EQ("", Trim(" \t "));
  EXPECT_EQ("\x7f", Trim("\x7f"));
  EXPECT_TRUE(IsBlankChar(' '));
  EXPECT_TRUE(IsBlankChar('\0'));
  EXPECT_FALSE(IsBlankChar('!'));
  EXPECT_FALSE(IsBlankChar('\x80'));
}

TEST(Trim, FrontOnly) {
  EXPECT_EQ("a \t", TrimFront("\t a \t"));
  EXPECT_EQ("", TrimFront("  "));
}

TEST(AsciiCase, FoldsOnlyAsciiLetters) {
  EXPECT_EQ("abc\xc9z1", AsciiLower("AbC\xc9Z1"));
  EXPECT_EQ("ABC\xe9Z1", AsciiUpper("aBc\xe9z1"));
  EXPECT_TRUE(EqualNoCase("Schema.INI", "schema.ini"));
  EXPECT_FALSE(EqualNoCase("\xe9", "\xc9"));
  EXPECT_FALSE(EqualNoCase("ab", "abc"));
  EXPECT_TRUE(StartsWithNoCase("January 2", "JAN"));
  EXPECT_FALSE(StartsWithNoCase("Ja", "JAN"));
  EXPECT_TRUE(ContainsNoCase("LongChar", "CHAR"));
}

struct ReplaceCase {
  const char* text;
  const char* from;
  const char* to;
  const char* expected;
};

TEST(AsciiCase, ReplacesEveryOccurrenceLeftToRight) {
  const ReplaceCase cases[] = {{"DateTime", "time", "Date", "DateDate"},
                               {"LONGlong", "Long", "Integer", "IntegerInteger"},
                               {"aaa", "aa", "b", "ba"},
                               {"15 jan 2002", "JAN", "1", "15 1 2002"},
                               {"x", "", "y", "x"}};
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(c.expected, ReplaceAllNoCase(c.text, c.from, c.to)) << c.text;
  }
}

}  // namespace
}  // namespace quorlin
