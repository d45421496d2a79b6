#include "schema/structure_report.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_files.h"

namespace quorlin {
namespace {

using namespace std::chrono;

std::string Golden(const std::string& name) {
  return testing::ReadBytes(std::string(QUORLIN_TEST_DATA) + "/golden/report/" + name);
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

}  // namespace
}  // namespace quorlin
