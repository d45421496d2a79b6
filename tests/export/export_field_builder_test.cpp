#include <gtest/gtest.h>

#include <filesystem>

#include "export/export_field_builder.h"
#include "platform/file_error.h"
#include "schema/schema_reader.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

class FieldBuilderTest : public ::testing::Test {
 protected:
  // A data file "data.txt" whose section holds `entries` as Col1, Col2, ...
  std::string WithEntries(const std::vector<std::string>& entries) {
    std::string section = "[data.txt]\r\nFormat=CSVDelimited\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      section += "Col" + std::to_string(i + 1) + "=" + entries[i] + "\r\n";
    }
    WriteBytes(dir.File("Schema.INI"), section);
    WriteBytes(dir.File("data.txt"), "");
    return dir.File("data.txt");
  }

  ExportField Build(const std::string& entry, ExportFormat format = ExportFormat::CommaDelimited,
                    bool fixed = false) {
    const ExportFields fields = BuildExportFields(WithEntries({entry}), fixed, format);
    EXPECT_EQ(1u, fields.size());
    return fields.empty() ? ExportField{} : fields.front();
  }

  TempDir dir;
};

TEST_F(FieldBuilderTest, TypeAndLengthByTypeWordAndFormat) {
  using T = ExportFieldType;
  const struct {
    const char* entry;
    ExportFormat format;
    T type;
    int length;
    int decimals;
  } cases[] = {
      {"a Bit", ExportFormat::XBase, T::Bit, 1, 0},
      {"a Byte", ExportFormat::Paradox, T::Byte, 3, 0},
      {"a Date", ExportFormat::XBase, T::Date, 8, 0},
      {"a Time", ExportFormat::Paradox, T::Time, 4, 0},
      {"a Date", ExportFormat::Xml, T::Date, 0, 0},
      {"a Integer", ExportFormat::XBase, T::Integer, 9, 0},
      {"a Integer", ExportFormat::Paradox, T::Integer, 8, 0},
      {"a Long", ExportFormat::XBase, T::Long, 19, 0},
      {"a Float", ExportFormat::Paradox, T::Float, 18, 2},
      {"a Float", ExportFormat::SqlSchema, T::Float, 0, 2},
      {"a Char WIDTH 20", ExportFormat::SqlSchema, T::Char, 20, 0},
      {"a Char WIDTH 0", ExportFormat::SqlSchema, T::Char, 254, 0},
      {"a Char WIDTH 00", ExportFormat::SqlSchema, T::Char, 254, 0},
      {"a integer WIDTH 7", ExportFormat::Xml, T::Char, 7, 0},
      {"a LongChar WIDTH 300", ExportFormat::XBase, T::Char, 300, 0},
      // Delimited layouts save Currency, Double, ... and untyped fields without a width.
      {"a Currency", ExportFormat::SqlSchema, T::Char, 254, 0},
      {"a Unknown", ExportFormat::Xml, T::Char, 254, 0},
      {"a", ExportFormat::Xml, T::Char, 254, 0},
  };
  for (const auto& c : cases) {
    const ExportField field = Build(c.entry, c.format);
    EXPECT_EQ(c.type, field.typeCode) << c.entry;
    EXPECT_EQ(c.length, field.length) << c.entry;
    EXPECT_EQ(c.decimals, field.decimals) << c.entry;
    EXPECT_EQ(0, field.inputWidth) << c.entry;
  }
}

TEST_F(FieldBuilderTest, NameAndFormatAreTokensCut) {
  const struct {
    const char* entry;
    const char* name;
    const char* format;
  } cases[] = {
      {"Placed Date FMT dd/MM/yyyy", "Placed", "dd/MM/yyyy"},
      {"Placed Char WIDTH 10 FMT yyyy/MM/dd", "Placed", "yyyy/MM/dd"},
      {"FMTCODE Char WIDTH 5", "FMTCODE", ""},
      {"Code Char WIDTH 5 FMTX y", "Code", ""},
      {"Placed Date FMT", "Placed", ""},
      {"Placed Date FMT yyyy/MM/dd_HH:mm:ss", "Placed", "yyyy/MM/dd_H"},
      {"\"Order No\" Integer", "Order No", ""},
      {"\"\"\"Q\"\" x\" Integer", "\"Q\" x", ""},
      {"A123456789B123456789C123456789D123456789 Char", "A123456789B123456789C123456789D1234", ""},
  };
  for (const auto& c : cases) {
    const ExportField field = Build(c.entry);
    EXPECT_EQ(c.name, field.name) << c.entry;
    EXPECT_EQ(c.format, field.format) << c.entry;
  }
}

TEST_F(FieldBuilderTest, FixedInputTakesEveryWidthAndNamesAnEntryWithout) {
  const std::string data = WithEntries({"a Char WIDTH 10", "b Long WIDTH 6", "c Date WIDTH 8"});
  const ExportFields fields = BuildExportFields(data, true, ExportFormat::XBase);
  ASSERT_EQ(3u, fields.size());
  EXPECT_EQ(10, fields[0].inputWidth);
  EXPECT_EQ(6, fields[1].inputWidth);
  EXPECT_EQ(19, fields[1].length);
  EXPECT_EQ(8, fields[2].inputWidth);

  const struct {
    const char* entry;
    const char* message;
  } faults[] = {
      {"b Char", "Schema.INI [data.txt] Col2: the entry \"b Char\" has no width"},
      {"b Long WIDTH 12abc", "Schema.INI [data.txt] Col2: the width \"12abc\" is not a whole number"},
      {"b Long WIDTH -5", "Schema.INI [data.txt] Col2: the width \"-5\" is negative"},
      {"b Long WIDTH 99999999999", "Schema.INI [data.txt] Col2: the width \"99999999999\" is too large"},
  };
  for (const auto& fault : faults) {
    const std::string path = WithEntries({"a Char WIDTH 10", fault.entry});
    try {
      BuildExportFields(path, true, ExportFormat::CommaDelimited);
      ADD_FAILURE() << fault.entry << " was accepted";
    } catch (const SchemaError& error) {
      EXPECT_EQ(fault.message, std::string(error.what()));
    }
  }
}

TEST_F(FieldBuilderTest, ADelimitedLayoutsMalformedWidthIsTheSameErrorAsEverywhere) {
  const struct {
    const char* entry;
    const char* message;
  } faults[] = {
      {"b Char WIDTH -5", "Schema.INI [data.txt] Col2: the width \"-5\" is negative"},
      {"b Char WIDTH 2147483648", "Schema.INI [data.txt] Col2: the width \"2147483648\" is too large"},
      {"b Char width x12", "Schema.INI [data.txt] Col2: the width \"x12\" is not a whole number"},
  };
  for (const auto& fault : faults) {
    const std::string path = WithEntries({"a Char WIDTH 10", fault.entry});
    try {
      BuildExportFields(path, false, ExportFormat::Xml);
      ADD_FAILURE() << fault.entry << " was accepted";
    } catch (const SchemaError& error) {
      EXPECT_EQ(fault.message, std::string(error.what()));
    }
    // The window and the command line read the section with the same words.
    try {
      ReadDelimitedFields(ProfileFile(dir.File("Schema.INI")), "data.txt", 10);
      ADD_FAILURE() << fault.entry << " was read";
    } catch (const SchemaError& error) {
      EXPECT_EQ(fault.message, std::string(error.what()));
    }
  }
}

TEST_F(FieldBuilderTest, ASchemaFileThatCannotBeReadIsNamedNotTakenForNoFields) {
  const std::string data = WithEntries({"a Char WIDTH 10"});
  std::filesystem::remove(dir.File("Schema.INI"));
  std::filesystem::create_directory(dir.File("Schema.INI"));
  try {
    CountSchemaColumns(data);
    ADD_FAILURE() << "counted";
  } catch (const FileError& error) {
    EXPECT_EQ("Cannot read " + dir.File("Schema.INI") + ": it is a folder", std::string(error.what()));
  }
}

TEST_F(FieldBuilderTest, CountStopsAtTheFirstMissingOrNaEntryAndNotAt1024) {
  EXPECT_EQ(2u, CountSchemaColumns(WithEntries({"a Char", "b Char", "na", "d Char"})));
  WriteBytes(dir.File("Schema.INI"), "[data.txt]\r\nCol1=a Bit\r\nCol3=c Bit\r\n");
  EXPECT_EQ(1u, CountSchemaColumns(dir.File("data.txt")));
  EXPECT_EQ(0u, CountSchemaColumns(dir.File("other.txt")));

  std::vector<std::string> many(1030, "f Bit");
  const std::string data = WithEntries(many);
  EXPECT_EQ(1030u, CountSchemaColumns(data));
  EXPECT_EQ(1030u, BuildExportFields(data, false, ExportFormat::Xml).size());
}

TEST_F(FieldBuilderTest, SchemaFileIsFoundWithoutRegardToCaseAndFromARelativePath) {
  WithEntries({"a Bit"});
  std::filesystem::rename(dir.File("Schema.INI"), dir.File("schema.ini"));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  const std::size_t count = CountSchemaColumns("data.txt");
  std::filesystem::current_path(before);
  EXPECT_EQ(1u, count);
}

}  // namespace
}  // namespace quorlin
