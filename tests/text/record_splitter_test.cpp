// The splitting rule, case by case, and records far larger than real data.
#include "text/record_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorlin {
namespace {

struct SplitCase {
  const char* name;
  std::string record;
  std::vector<std::string> expected;
  std::string separator = ",";
  std::string qualifier = "'";
};

void PrintTo(const SplitCase& splitCase, std::ostream* out) { *out << splitCase.name; }

std::vector<std::string> Split(const std::string& record, const std::string& separator,
                               const std::string& qualifier) {
  std::vector<std::string> fields{"left over"};
  SplitRecord(record, separator, qualifier, fields);
  return fields;
}

class SplitRecordCase : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitRecordCase, GivesTheExpectedFields) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(c.expected, Split(c.record, c.separator, c.qualifier));
}

// A value is a part of the record unless doubled qualifiers had to be made single in it.
TEST_P(SplitRecordCase, ViewsGiveTheSameFieldsInsideTheRecordOrTheUnescapedValues) {
  const SplitCase& c = GetParam();
  std::vector<std::string_view> views{"left over"};
  std::string unescaped = "left over";
  SplitRecordViews(c.record, c.separator, c.qualifier, views, unescaped);
  EXPECT_EQ(c.expected, std::vector<std::string>(views.begin(), views.end()));
  const auto inside = [](std::string_view view, std::string_view whole) {
    return view.data() >= whole.data() && view.data() + view.size() <= whole.data() + whole.size();
  };
  for (const std::string_view view : views) {
    EXPECT_TRUE(view.empty() || inside(view, c.record) || inside(view, unescaped));
  }
}

const SplitCase kCases[] = {
    {"PlainFields", "a,b,c", {"a", "b", "c"}},
    {"EmptyMiddleField", "a,,b", {"a", "", "b"}},
    {"EmptyFirstField", ",a", {"", "a"}},
    // Before a separator at the end gave an empty field, these gave a | b and a | b | (empty).
    {"TrailingSeparatorAddsAnEmptyField", "a,b,", {"a", "b", ""}},
    {"TwoTrailingSeparatorsGiveTwoEmptyFields", "a,b,,", {"a", "b", "", ""}},
    {"SeparatorAfterQualifiedLastField", "a,'b',", {"a", "b", ""}},
    {"LoneSeparatorGivesTwoEmptyFields", ",", {"", ""}},
    {"EmptyLine", "", {""}},
    {"BlanksOnly", " \t \x01 ", {""}},
    {"LastFieldKeepsBlankAfterSeparator", " a , b , c ", {"a", "b", " c"}},
    {"QualifiedFieldHoldsSeparator", "'a,b',c", {"a,b", "c"}},
    {"BlanksAfterClosingQualifier", "'a' , b", {"a", " b"}},
    {"QualifiedFirstFieldIsTrimmed", "' b ',a", {"b", "a"}},
    {"QualifiedLastFieldKeepsInnerBlanks", "a,' b '", {"a", " b "}},
    // Before doubled qualifiers were read as one, this gave a | b | c.
    {"DoubledQualifierStandsForOne", "'a''b',c", {"a'b", "c"}},
    {"DoubledQuotesAroundAWord", "1,\"He said \"\"hi\"\", ok\"", {"1", "He said \"hi\", ok"}, ",", "\""},
    {"JsonValueStaysOneField", "\"{\"\"type\"\": \"\"Point\"\"}\",7", {"{\"type\": \"Point\"}", "7"}, ",", "\""},
    {"DoubledQualifiersInTheLastField", "a,'x''y'''", {"a", "x'y'"}},
    {"DoubledQualifierOnlyIsOneQualifier", "'''',b", {"'", "b"}},
    {"EmptyQualifiedFieldBeforeSeparator", "'',b", {"", "b"}},
    {"PaddedQualifiedValuesAreTrimmed", "\"Smith     \",\"John      \",x", {"Smith", "John", "x"}, ",", "\""},
    {"DoubledQualifierWithoutClosingOneIsNoField", "'a''b,c", {"", "", "b", "c"}},
    {"SeveralEscapedValuesInOneRecord", "'a''1','b''2','c''3'", {"a'1", "b'2", "c'3"}},
    {"DoubledQualifierInAnUnqualifiedFieldIsData", "a''b,c", {"a''b", "c"}},
    {"BlankHidesOpeningQualifier", "a, 'b,c'", {"a", "'b", "c'"}},
    {"QualifierInsideUnqualifiedField", "a'b,c", {"a'b", "c"}},
    {"UnclosedQualifierWithoutSeparator", "'abc", {"ab"}},
    {"TwoQualifiersOnly", "''", {""}},
    {"LoneQualifier", "'", {""}},
    {"UnclosedQualifierBeforeSeparator", "'abc,def", {"", "bc", "def"}},
    {"QualifierNoneMakesQuotesData", "'a,b',c", {"'a", "b'", "c"}, ",", "{none}"},
    {"LongerQualifierIsIgnored", "'a,b'", {"'a", "b'"}, ",", "''"},
    {"TabEmptyFieldsAtEndsVanish", "\t\ta\tb\t", {"a", "b"}, "\t"},
    {"TabAfterQualifiedFieldIsTrimmedAway", "'a'\t\t'c'", {"a", "c"}, "\t"},
    {"BlankSeparatorKeepsInnerEmptyField", "a  b", {"a", "", "b"}, " "},
    {"NoSeparatorQualifiedRecord", "'x,y'", {"x,y"}, ""},
    {"NoSeparatorPlainRecord", "a,b", {"a,b"}, ""},
    {"DoubleQuoteQualifier", "\"a,b\",c", {"a,b", "c"}, ",", "\""},
    {"QualifierDroppedWhateverTheLastCharacter", "a,'bc", {"a", "b"}},
    {"SeparatorRightAfterOpeningQualifier", "',", {""}},
    {"NulBytesAreBlanks", std::string("\0a,b\0", 5), {"a", "b"}},
    {"HighBytesAreData", "\xe9t\xe9,\xff", {"\xe9t\xe9", "\xff"}},
    // Separators are found eight bytes at a time: ones on and beside the word boundaries, a
    // byte one above the separator right after it, a qualifier starting the next word.
    {"SeparatorsAroundWordBoundaries", "abcdefg,i,klmnop,rstuvw,", {"abcdefg", "i", "klmnop", "rstuvw", ""}},
    {"NeighbourOfSeparatorIsNoSeparator", "a,-,-b-c-d-e-f-g-", {"a", "-", "-b-c-d-e-f-g-"}},
    {"QualifierAfterSeparatorInLaterWord", "abcdefgh,'ij,kl' , m,n", {"abcdefgh", "ij,kl", "m", "n"}},
    {"RecordOfNineBytesEndsInLastWord", "abcdefg,x", {"abcdefg", "x"}},
    // Decoded text is cut at characters: a separator or qualifier of several UTF-8 bytes.
    {"CharacterSeparatorOfTwoBytes", "a\xC2\xA7 b \xC2\xA7\xC2\xA7\xC3\xA9", {"a", "b", "", "\xC3\xA9"}, "\xC2\xA7"},
    {"CharacterSeparatorAtTheEnd", "\xE2\x82\xAC" "1\xE2\x80\xA0", {"\xE2\x82\xAC" "1", ""}, "\xE2\x80\xA0"},
    {"BytesOfAnotherCharacterAreNoSeparator", "\xC3\xA7\xC2\xA7x", {"\xC3\xA7", "x"}, "\xC2\xA7"},
    {"CharacterQualifierHoldsTheSeparator", "\xC2\xAB" "a,b\xC2\xAB,c", {"a,b", "c"}, ",", "\xC2\xAB"},
    {"DoubledCharacterQualifierStandsForOne", "\xC2\xA6x\xC2\xA6\xC2\xA6y\xC2\xA6\xC2\xA7z",
     {"x\xC2\xA6y", "z"}, "\xC2\xA7", "\xC2\xA6"},
    {"UnclosedCharacterQualifiedLastFieldLosesItsLastCharacter", "a\xC2\xA7\xC2\xAB" "b\xC3\xA9",
     {"a", "b"}, "\xC2\xA7", "\xC2\xAB"},
    {"UnclosedCharacterQualifierPassesOverOneCharacter", "\xC2\xAB\xC3\xA9t\xC3\xA9\xC2\xA7" "b",
     {"", "t\xC3\xA9", "b"}, "\xC2\xA7", "\xC2\xAB"},
};

INSTANTIATE_TEST_SUITE_P(Records, SplitRecordCase, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SplitRecordLimit, StopsAfterTheFirstFieldsWhicheverKindTheyAre) {
  std::vector<std::string> fields;
  SplitRecord("'a,b', c ,d,'e',f", ",", "'", fields, 3);
  EXPECT_EQ((std::vector<std::string>{"a,b", "c", "d"}), fields);
  SplitRecord("a,b", ",", "'", fields, 5);
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), fields);
  SplitRecord("", ",", "'", fields, 1);
  EXPECT_EQ(std::vector<std::string>{""}, fields);
}

TEST(SplitRecordSize, HundredThousandFields) {
  std::string record;
  for (int i = 0; i < 100000; ++i) record += std::to_string(i) + ",";
  record += "last";
  const auto fields = Split(record, ",", "\"");
  ASSERT_EQ(100001u, fields.size());
  EXPECT_EQ("0", fields.front());
  EXPECT_EQ("99999", fields[99999]);
  EXPECT_EQ("last", fields.back());
}

TEST(SplitRecordSize, HundredThousandQualifiedFieldsWithOneSeparatorAtTheEnd) {
  std::string record;
  for (int i = 0; i < 100000; ++i) record += "'x' ";
  record += ",end";
  const auto fields = Split(record, ",", "'");
  ASSERT_EQ(100001u, fields.size());
  EXPECT_EQ("x", fields[50000]);
  EXPECT_EQ("end", fields.back());
}

TEST(SplitRecordSize, HundredThousandDoubledQualifiersInOneValue) {
  std::string record = "'";
  for (int i = 0; i < 100000; ++i) record += "x''";
  record += "',end";
  const auto fields = Split(record, ",", "'");
  ASSERT_EQ(2u, fields.size());
  EXPECT_EQ(200000u, fields[0].size());
  EXPECT_EQ("end", fields.back());
}

TEST(SplitRecordSize, TenMegabyteRecord) {
  const std::string big(10 << 20, 'v');
  const auto fields = Split("a," + big + ",'" + big, ",", "'");
  ASSERT_EQ(3u, fields.size());
  EXPECT_EQ(big.size(), fields[1].size());
  EXPECT_EQ(big.size() - 1, fields[2].size());
}

TEST(SplitRecordSize, UnclosedQualifierInFrontOfManyFields) {
  std::string record = "'";
  for (int i = 0; i < 100000; ++i) record += "ab,";
  const auto fields = Split(record, ",", "'");
  ASSERT_EQ(100002u, fields.size());
  EXPECT_EQ("", fields[0]);
  EXPECT_EQ("b", fields[1]);
  EXPECT_EQ("ab", fields[100000]);
  EXPECT_EQ("", fields.back());
}

}  // namespace
}  // namespace quorlin
