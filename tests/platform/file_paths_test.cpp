// The parts of a path and file identity, shared by the schema, the export and both front ends.
#include "platform/file_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::TempDir;
using testing::WriteBytes;

TEST(FolderOf, IsTheFolderWithItsSlashSoThatANameAppendedLiesBesideThePath) {
  EXPECT_EQ("./", FolderOf("data.csv"));
  EXPECT_EQ("/", FolderOf("/data.csv"));
  EXPECT_EQ("/home/ann/", FolderOf("/home/ann/data.csv"));
  EXPECT_EQ("in/", FolderOf("in/data.csv"));
  EXPECT_EQ("/home/ann/", FolderOf("/home/ann/"));
}

TEST(FileNameOf, IsEverythingAfterTheLastSlash) {
  EXPECT_EQ("data.csv", FileNameOf("data.csv"));
  EXPECT_EQ("data.csv", FileNameOf("/home/ann/data.csv"));
  EXPECT_EQ("", FileNameOf("/home/ann/"));
}

TEST(AbsoluteFilePath, ResolvesARelativePathAgainstTheCurrentFolder) {
  char current[4096];
  ASSERT_NE(nullptr, ::getcwd(current, sizeof current));
  EXPECT_EQ(std::string(current) + "/data.csv", AbsoluteFilePath("data.csv"));
  EXPECT_EQ("/data.csv", AbsoluteFilePath("/data.csv"));
  EXPECT_EQ("", AbsoluteFilePath(""));
}

TEST(IsSameFile, FollowsLinksAndOtherSpellingsOfAFileThatExists) {
  TempDir dir;
  WriteBytes(dir.File("data.csv"), "a\r\n");
  WriteBytes(dir.File("other.csv"), "a\r\n");
  ASSERT_EQ(0, ::symlink(dir.File("data.csv").c_str(), dir.File("link.csv").c_str()));
  EXPECT_TRUE(IsSameFile(dir.File("data.csv"), dir.Path() + "./data.csv"));
  EXPECT_TRUE(IsSameFile(dir.File("data.csv"), dir.Path() + "missing/../data.csv"));
  EXPECT_TRUE(IsSameFile(dir.File("link.csv"), dir.File("data.csv")));
  EXPECT_FALSE(IsSameFile(dir.File("data.csv"), dir.File("other.csv")));
  EXPECT_FALSE(IsSameFile(dir.File("missing.csv"), dir.File("missing.csv")));
  EXPECT_FALSE(IsSameFile("", dir.File("data.csv")));
}

}  // namespace
}  // namespace quorlin
