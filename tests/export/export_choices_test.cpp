#include <gtest/gtest.h>

#include "export/export_choices.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

TEST(ExportStartRefusal, NamesTheFirstFieldThatIsNotReady) {
  const auto field = [](const char* name, const char* type, const char* width) {
    FieldSpec spec;
    spec.name = name;
    spec.typeName = type;
    spec.width = width;
    return spec;
  };
  EXPECT_EQ(kNoStructureDefinedMessage, ExportStartRefusal({}));
  EXPECT_EQ("Width for b has not been set",
            ExportStartRefusal({field("a", "Char", "5"), field("b", "LongChar", "0"),
                                field("c", "Unknown", "0")}));
  EXPECT_EQ("Field c not specified",
            ExportStartRefusal({field("a", "Integer", "0"), field("c", "Unknown", "0")}));
  EXPECT_EQ(std::nullopt, ExportStartRefusal({field("a", "char", "0"), field("b", "Date", "0")}));
}

TEST(PrepareExport, ChecksInOrderThenBuildsTheRequest) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("d.csv"), "x\r\n");
  testing::WriteBytes(dir.File("Schema.INI"), "[d.csv]\r\nCol1=a Char WIDTH 4\r\nCol2=b Float\r\n");
  ExportChoices choices;
  choices.format = ExportFormat::SqlSchema;
  const auto failure = [&] {
    const auto prepared = PrepareExport(choices, {});
    const auto* check = std::get_if<ExportCheckFailure>(&prepared);
    return check ? check->message : std::string("no failure");
  };
  EXPECT_EQ(kNoInputFileMessage, failure());
  choices.inputPath = dir.File("other.csv");
  EXPECT_EQ(kNoOutputFileMessage, failure());
  choices.outputPath = " ";
  EXPECT_EQ(kNoOutputFileMessage, failure());
  choices.outputPath = dir.File("d.sql");
  EXPECT_EQ(kNoTitleMessage, failure());
  choices.title = TitleFromBox("my table");
  EXPECT_EQ(kNoSavedFieldsMessage, failure());

  choices.inputPath = dir.File("d.csv");
  choices.inputQualifierBox = "{none}";
  choices.outputQualifierBox = "'";
  const auto prepared = PrepareExport(choices, {});
  const ExportRequest& request = std::get<ExportRequest>(prepared);
  EXPECT_EQ("my_table", request.title);
  EXPECT_EQ("", request.inputQualifier);
  EXPECT_EQ("'", request.outputQualifier);
  ASSERT_EQ(2u, request.fields.size());
  EXPECT_EQ(4 + 0 + 1, request.recordLength);
}

}  // namespace
}  // namespace quorlin
