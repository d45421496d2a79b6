#include <gtest/gtest.h>
#include <sys/stat.h>

#include "export/export_choices.h"
#include "support/other_user.h"
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

// The error that stops the export, whichever kind it is.
std::string StoppingError(const ExportChoices& choices) {
  try {
    PrepareExport(choices, {});
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(PrepareExport, SaysWhySavedFieldsCannotBeReadInsteadOfFieldsNotFound) {
  testing::TempDir dir;
  testing::WriteBytes(dir.File("d.csv"), "x\r\n");
  testing::WriteBytes(dir.File("Schema.INI"), "[d.csv]\r\nCol1=a Char WIDTH 4\r\n");
  ASSERT_EQ(0, ::chmod(dir.Path().c_str(), 0755));
  ASSERT_EQ(0, ::chmod(dir.File("Schema.INI").c_str(), 0));
  ExportChoices choices;
  choices.inputPath = dir.File("d.csv");
  choices.outputPath = dir.File("d.txt");
  const std::string message = testing::RunWithoutPrivileges([&] { return StoppingError(choices); });
  EXPECT_EQ("Cannot read " + dir.File("Schema.INI") + ": Permission denied", message);

  ASSERT_EQ(0, ::chmod(dir.File("Schema.INI").c_str(), 0644));
  testing::WriteBytes(dir.File("Schema.INI"), "[d.csv]\r\nCol1=a Char WIDTH 2147483648\r\n");
  EXPECT_EQ("Schema.INI [d.csv] Col1: the width \"2147483648\" is too large", StoppingError(choices));
}

}  // namespace
}  // namespace quorlin
