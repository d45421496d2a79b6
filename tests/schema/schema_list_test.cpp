#include "schema/schema_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "platform/file_error.h"
#include "schema/schema_file.h"
#include "schema/schema_writer.h"
#include "support/other_user.h"
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

std::string FailureOf(const std::function<void()>& work) {
  try {
    work();
  } catch (const FileError& error) {
    return error.what();
  }
  return "done";
}

// A folder that cannot be entered, or a schema file that cannot be read, must not pass for a
// folder without layouts: list and delete say what failed.
TEST(SchemaList, UnreadableFolderOrSchemaFileIsAnErrorNotAnEmptyList) {
  TempDir dir;
  ASSERT_EQ(0, ::chmod(dir.Path().c_str(), 0755));
  const std::string folder = dir.File("locked/");
  std::filesystem::create_directory(folder);
  WriteBytes(folder + "Schema.INI", "[a.csv]\r\nCol1=x Char\r\n");
  WriteBytes(dir.File("Schema.INI"), "[a.csv]\r\nCol1=x Char\r\n");
  ASSERT_EQ(0, ::chmod(folder.c_str(), 0));
  ASSERT_EQ(0, ::chmod(dir.File("Schema.INI").c_str(), 0));
  const std::string outcomes = testing::RunWithoutPrivileges([&] {
    return FailureOf([&] { ListSchemaSections(folder); }) + "|" +
           FailureOf([&] { DeleteSchemaSection(folder, "a.csv", ""); }) + "|" +
           FailureOf([&] { ListSchemaSections(dir.Path()); });
  });
  const std::string folderFailure = "Cannot open the folder " + folder + ": Permission denied";
  EXPECT_EQ(folderFailure + "|" + folderFailure + "|Cannot read " + dir.File("Schema.INI") +
                ": Permission denied",
            outcomes);
  ::chmod(folder.c_str(), 0755);
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
