#include <gtest/gtest.h>

#include <optional>

#include "export/export_values.h"

namespace quorlin {
namespace {

ExportFields Widths(std::initializer_list<int> widths) {
  ExportFields fields;
  for (const int width : widths) {
    ExportField field;
    field.inputWidth = width;
    fields.push_back(field);
  }
  return fields;
}

std::vector<std::string> Cut(std::string_view line, const ExportFields& fields) {
  RecordValues values;
  CutFixedRecord(line, fields, values);
  return {values.begin(), values.end()};
}

TEST(CutFixedRecord, CutsByWidthKeepingBlanksAndIgnoringTheRest) {
  using Values = std::vector<std::string>;
  EXPECT_EQ((Values{"abcd", "efgh", "ij"}), Cut("abcdefghij", Widths({4, 4, 4})));
  EXPECT_EQ((Values{"", "", ""}), Cut("", Widths({4, 4, 4})));
  EXPECT_EQ((Values{"AB    ", "x"}), Cut("AB    x", Widths({6, 1})));
  EXPECT_EQ((Values{"ab", "", "", "cd"}), Cut("abcdef", Widths({2, 0, -3, 2})));
  EXPECT_EQ((Values{"abcdef", ""}), Cut("abcdef", Widths({6, 2})));
}

TEST(IsTrueWord, AcceptsTheTrueWordsTrimmedAndOne) {
  for (const char* word : {"TRUE", "true", "T", "t", "yes", "Yes", "YES", "Y", "on", "1",
                           "yes ", "Y  ", " 1 ", "\tOn"}) {
    EXPECT_TRUE(IsTrueWord(word)) << word;
  }
  for (const char* word : {"", "  ", "no", "0", "FALSE", "ye", "11", "y e", "TRUE1", "oui"}) {
    EXPECT_FALSE(IsTrueWord(word)) << word;
  }
}

TEST(TruthOf, TakesTheFalseWordsTrimmedAndZeroAsFalse) {
  for (const char* word : {"FALSE", "false", "F", "f", "no", "No", "N", "off", "OFF", "0", " no ", "\tOff"}) {
    EXPECT_EQ(std::optional<bool>(false), TruthOf(word)) << word;
  }
  for (const char* word : {"", " ", "on", "1", "TRUE", "of", "00", "n o", "FALSE0", "non"}) {
    EXPECT_NE(std::optional<bool>(false), TruthOf(word)) << word;
  }
}

TEST(TranslateSpecialChars, EscapesMarkupAndReferencesEveryCharacterAbove127) {
  const struct {
    std::string value;
    std::string expected;
  } cases[] = {
      {" < ", "&lt;"},
      {"&lt;", "&amp;lt;"},
      {"a<b & c>", "a&lt;b &amp; c&gt;"},
      {"\"it's\"", "\"it's\""},
      {"caf\xC3\xA9", "caf&#233;"},                 // one reference per UTF-8 sequence
      {"\xE2\x82\xAC 5", "&#8364; 5"},
      {"\xF0\x9F\x98\x80", "&#128512;"},
      {"caf\xE9", "caf&#233;"},                     // a lone byte is a Latin-1 character
      {"\xC3", "&#195;"},                           // a cut-off sequence
      {"\xC0\xAF", "&#192;&#175;"},                 // an overlong form
      {"\xED\xA0\x80", "&#237;&#160;&#128;"},       // a surrogate
      {"a\x01" "b\x1F" "c\x7F", "abc\x7F"},         // controls XML cannot hold are dropped
      {"a\tb\nc\rd", "a\tb\nc\rd"},
      {"\xEF\xBF\xBE", ""},                         // U+FFFE is no character
      {"\t x \x02", "x"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, TranslateSpecialChars(c.value)) << c.value;
}

TEST(ShownTitle, TurnsUnderscoresIntoBlanks) { EXPECT_EQ("Sales 2002 ", ShownTitle("Sales_2002_")); }

}  // namespace
}  // namespace quorlin
