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

TEST_P(SplitRecordCase, ViewsGiveTheSameFieldsInsideTheRecord) {
  const SplitCase& c = GetParam();
  std::vector<std::string_view> views{"left over"};
  SplitRecordViews(c.record, c.separator, c.qualifier, views);
  EXPECT_EQ(c.expected, std::vector<std::string>(views.begin(), views.end()));
  const char* const begin = c.record.data();
  for (const std::string_view view : views) {
    EXPECT_TRUE(view.empty() || (view.data() >= begin &&
                                 view.data() + view.size() <= begin + c.record.size()));
  }
}

const SplitCase kCases[] = {
    {"PlainFields", "a,b,c", {"a", "b", "c"}},
    {"EmptyMiddleField", "a,,b", {"a", "", "b"}},
    {"EmptyFirstField", ",a", {"", "a"}},
    {"TrailingSeparatorAddsNoField", "a,b,", {"a", "b"}},
    {"TwoTrailingSeparatorsGiveOneEmptyField", "a,b,,", {"a", "b", ""}},
    {"EmptyLine", "", {""}},
    {"BlanksOnly", " \t \x01 ", {""}},
    {"LastFieldKeepsBlankAfterSeparator", " a , b , c ", {"a", "b", " c"}},
    {"QualifiedFieldHoldsSeparator", "'a,b',c", {"a,b", "c"}},
    {"BlanksAfterClosingQualifier", "'a' , b", {"a", " b"}},
    {"QualifiedFirstFieldIsTrimmed", "' b ',a", {"b", "a"}},
    {"QualifiedLastFieldKeepsInnerBlanks", "a,' b '", {"a", " b "}},
    {"DoubledQualifierIsNoEscape", "'a''b',c", {"a", "b", "c"}},
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
    {"SeparatorsAroundWordBoundaries", "abcdefg,i,klmnop,rstuvw,", {"abcdefg", "i", "klmnop", "rstuvw"}},
    {"NeighbourOfSeparatorIsNoSeparator", "a,-,-b-c-d-e-f-g-", {"a", "-", "-b-c-d-e-f-g-"}},
    {"QualifierAfterSeparatorInLaterWord", "abcdefgh,'ij,kl' , m,n", {"abcdefgh", "ij,kl", "m", "n"}},
    {"RecordOfNineBytesEndsInLastWord", "abcdefg,x", {"abcdefg", "x"}},
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
  for (int i = 0; i < 100000; ++i) record += "'x'";
  record += ",end";
  const auto fields = Split(record, ",", "'");
  ASSERT_EQ(100001u, fields.size());
  EXPECT_EQ("x", fields[50000]);
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
  ASSERT_EQ(100001u, fields.size());
  EXPECT_EQ("", fields[0]);
  EXPECT_EQ("b", fields[1]);
  EXPECT_EQ("ab", fields.back());
}

}  // namespace
}  // namespace quorlin
