#include "schema/schema_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "schema/schema_file.h"
#include "schema/schema_writer.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(SchemaList, NoSchemaFileGivesNoSections) {
  TempDir dir;
  EXPECT_FALSE(HasSchemaFile(dir.Path()));
  EXPECT_TRUE(ListSchemaSections(dir.Path()).empty());
}

TEST(SchemaList, SectionsSortedWithoutRegardToCase) {
  TempDir dir;
  WriteBytes(dir.File("Schema.INI"),
             "[orders.csv]\r\nCol1=a Char\r\n[Beta.txt]\r\n[alpha.dat]\r\n[ORDERS.CSV]\r\n"
             "[_x]\r\n[Zeta]\r\n[b.txt]\r\n");
  EXPECT_TRUE(HasSchemaFile(dir.Path()));
  EXPECT_EQ(
      (std::vector<std::string>{"_x", "alpha.dat", "b.txt", "Beta.txt", "orders.csv", "Zeta"}),
      ListSchemaSections(dir.Path()));
}

TEST(SchemaList, SchemaFileNameInAnyCase) {
  TempDir dir;
  WriteBytes(dir.File("schema.ini"), "[b.csv]\n[A.csv]\n");
  const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
  EXPECT_TRUE(HasSchemaFile(folder));
  EXPECT_EQ((std::vector<std::string>{"A.csv", "b.csv"}), ListSchemaSections(folder));
  EXPECT_TRUE(DeleteSchemaSection(folder, "a.CSV", "").removed);
  EXPECT_EQ("[b.csv]\n", ReadBytes(dir.File("schema.ini")));
}

TEST(SchemaList, DeleteRemovesOnlyThatSection) {
  TempDir dir;
  WriteBytes(
      dir.File("Schema.INI"),
      "; notes\r\n[a.csv]\r\nCol1=x Char\r\n[b.csv]\r\nFormat=TABDelimited\r\nCol1=y Long\r\n"
      "[c.csv]\r\nCol1=z Date\r\n");
  WriteBytes(dir.File("b.csv"), "y\r\n");
  EXPECT_TRUE(DeleteSchemaSection(dir.Path(), "b.csv", "").removed);
  EXPECT_SAME_BYTES("; notes\r\n[a.csv]\r\nCol1=x Char\r\n[c.csv]\r\nCol1=z Date\r\n",
                    ReadBytes(dir.File("Schema.INI")));
  EXPECT_EQ((std::vector<std::string>{"a.csv", "c.csv"}), ListSchemaSections(dir.Path()));
  EXPECT_EQ("y\r\n", ReadBytes(dir.File("b.csv")));
}

TEST(SchemaList, DeleteFromAReadOnlySchemaFileFails) {
  TempDir dir;
  const std::string before = "[a.csv]\r\nCol1=x Char\r\n";
  WriteBytes(dir.File("Schema.INI"), before);
  ASSERT_EQ(0, ::chmod(dir.File("Schema.INI").c_str(), 0444));
  EXPECT_FALSE(DeleteSchemaSection(dir.Path(), "a.csv", "").removed);
  EXPECT_SAME_BYTES(before, ReadBytes(dir.File("Schema.INI")));
  EXPECT_EQ((std::vector<std::string>{"a.csv"}), ListSchemaSections(dir.Path()));
}

TEST(SchemaList, SectionsAndFilesAreMatchedByTheirTrimmedNames) {
  TempDir dir;
  WriteBytes(dir.File(" spaced.csv "), "x\r\n");
  EXPECT_EQ("spaced.csv", SectionNameFor(dir.File(" spaced.csv ")));
  EXPECT_EQ(dir.File(" spaced.csv "), DataFileFor(dir.Path(), "SPACED.csv"));
  EXPECT_EQ(dir.File("other.csv"), DataFileFor(dir.Path(), "other.csv"));
}

}  // namespace
}  // namespace quorlin
