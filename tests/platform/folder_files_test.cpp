#include "platform/folder_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(WithTrailingSlashTest, AddsOneSlashOnlyWhenMissing) {
  EXPECT_EQ("", WithTrailingSlash(""));
  EXPECT_EQ("/data/", WithTrailingSlash("/data"));
  EXPECT_EQ("/data/", WithTrailingSlash("/data/"));
  EXPECT_EQ("/", WithTrailingSlash("/"));
}

TEST(FindInFolderNoCaseTest, MissingNameKeepsTheGivenSpelling) {
  TempDir dir;
  WriteBytes(dir.File("other.ini"), "");
  const std::string folder = dir.Path().substr(0, dir.Path().size() - 1);
  EXPECT_EQ(dir.File("Schema.INI"), FindInFolderNoCase(folder, "Schema.INI"));
  EXPECT_EQ("/no/such/folder/Schema.INI", FindInFolderNoCase("/no/such/folder", "Schema.INI"));
}

TEST(FindInFolderNoCaseTest, FindsTheNameInAnyCase) {
  TempDir dir;
  WriteBytes(dir.File("schema.ini"), "");
  EXPECT_EQ(dir.File("schema.ini"), FindInFolderNoCase(dir.Path(), "Schema.INI"));
  EXPECT_EQ(dir.File("schema.ini"), SchemaFilePath(dir.Path()));
}

TEST(FindInFolderNoCaseTest, PrefersTheExactSpellingThenByteOrder) {
  TempDir dir;
  for (const char* name : {"schema.ini", "SCHEMA.ini", "Schema.ini"}) WriteBytes(dir.File(name), "");
  EXPECT_EQ(dir.File("SCHEMA.ini"), SchemaFilePath(dir.Path()));
  EXPECT_EQ(dir.File("schema.ini"), FindInFolderNoCase(dir.Path(), "schema.ini"));
  WriteBytes(dir.File("Schema.INI"), "");
  EXPECT_EQ(dir.File("Schema.INI"), SchemaFilePath(dir.Path()));
}

TEST(FindInFolderNoCaseTest, DoesNotMatchLongerOrShorterNames) {
  TempDir dir;
  WriteBytes(dir.File("schema.ini.bak"), "");
  WriteBytes(dir.File("chema.ini"), "");
  EXPECT_EQ(dir.File("Schema.INI"), SchemaFilePath(dir.Path()));
}

}  // namespace
}  // namespace quorlin
