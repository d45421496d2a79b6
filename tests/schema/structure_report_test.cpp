#include "schema/structure_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_files.h"

namespace quorlin {
namespace {

using namespace std::chrono;

std::string Golden(const std::string& name) {
  return testing::ReadBytes(std::string(QUORLIN_TEST_DATA) + "/golden/report/" + name);
}

struct PadCase {
  std::string text;
  std::size_t width;
  PadMode mode;
  std::string expected;
};

TEST(PadText, CutsOnTheRightWhenLeftAlignedAndOnTheLeftWhenRightAligned) {
  const std::vector<PadCase> cases = {
      {"ab", 5, PadMode::Left, "ab   "},   {"abcdefg", 5, PadMode::Left, "abcde"},
      {"ab", 5, PadMode::Right, "   ab"},  {"1234567", 5, PadMode::Right, "34567"},
      {"", 3, PadMode::Left, "   "},       {"abc", 0, PadMode::Right, ""},
  };
  for (const PadCase& c : cases) {
    EXPECT_EQ(c.expected, PadText(c.text, c.width, c.mode)) << c.text << " in " << c.width;
  }
}

TEST(StructureReport, TwoFieldsCountedFromOne) {
  const FieldList fields = {FieldSpec{"CustomerName", "Char", "30", {}},
                            FieldSpec{"Placed", "Date", "0", "dd/MM/yyyy"}};
  EXPECT_SAME_BYTES(Golden("two_fields.txt"),
                    StructureReport("/data/orders.csv", SeparatorKind::Comma, fields, 1,
                                    year{2002} / January / 5));
}

// Long texts are cut to their columns, a blank format leaves no format column, and a width
// that is no whole number counts 0 and is marked.
TEST(StructureReport, CutsLongTextsAndMarksWidthsThatAreNoWholeNumbers) {
  const FieldList fields = {
      FieldSpec{"AVeryLongFieldNameOfMoreThanThirtyFiveCharacters", "LongCharacters", "1234567",
                "yyyy/MM/dd hh:mm:ss AM"},
      FieldSpec{"Blank format", "Date", "0", "  "},
      FieldSpec{"Half", "Char", "12.5", {}},
      FieldSpec{"Padded", "Char", " 8 ", ""},
  };
  EXPECT_SAME_BYTES(Golden("cut_and_uncounted.txt"),
                    StructureReport("stock.dat", SeparatorKind::Fixed, fields, 0,
                                    year{2026} / December / 31));
}

TEST(StructureReport, NamesTheFormatOfEverySeparator) {
  const std::vector<std::pair<SeparatorKind, std::string>> cases = {
      {SeparatorKind::Comma, "Comma Delimited"}, {SeparatorKind::Space, "Space Delimited"},
      {SeparatorKind::Tab, "Tab Delimited"},     {SeparatorKind::Custom, "Custom"},
      {SeparatorKind::Fixed, "Fixed Format"}};
  for (const auto& [kind, name] : cases) {
    const std::string report = StructureReport("f", kind, {}, 1, year{2002} / 1 / 5);
    EXPECT_NE(std::string::npos, report.find("     File Format : " + name + "\r\n")) << name;
  }
}

}  // namespace
}  // namespace quorlin
