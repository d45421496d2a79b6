// Rewrites of a shared folder's files: links, owners, concurrent and killed rewrites.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "platform/file_error.h"
#include "platform/profile_file.h"
#include "support/other_user.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr uid_t kNobody = 65534;

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string FailureOf(const std::function<void()>& write) {
  try {
    write();
  } catch (const FileError& error) {
    return error.what();
  }
  return "written";
}

struct LinkCase {
  const char* name;
  const char* target;  // relative to the folder of the link
  bool ownedByOther;
};

void PrintTo(const LinkCase& linkCase, std::ostream* out) { *out << linkCase.name; }

class WriteThroughLink : public ::testing::TestWithParam<LinkCase> {};

// Only a Schema.INI of the user's own is written through a link; every other target stays as
// it was, and the message names the link.
TEST_P(WriteThroughLink, RefusesTargetsThatAreNotTheUsersSchemaFile) {
  const LinkCase& c = GetParam();
  if (c.ownedByOther && geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file away";
  TempDir dir;
  std::filesystem::create_directories(dir.File("other"));
  const std::string target = dir.File(c.target);
  const std::string original = "[data.csv]\r\nCol1=a Char\r\n";
  if (std::string(c.name) != "MissingTarget") WriteBytes(target, original);
  if (c.ownedByOther) {
    ASSERT_EQ(0, chown(target.c_str(), kNobody, kNobody));
  }
  const std::string link = dir.File("Schema.INI");
  std::filesystem::create_symlink(c.target, link);
  ProfileFile schema(link);

  const std::string refusal = "Unable to write to " + link + ": it is a symbolic link to " + c.target +
                              ", not to a Schema.INI of your own";
  EXPECT_EQ(refusal, FailureOf([&] { schema.ReplaceSection("x.csv", {{"Col1", "x Char"}}); }));
  EXPECT_EQ(refusal, FailureOf([&] { schema.EraseSection("data.csv"); }));
  EXPECT_EQ(refusal, FailureOf([&] { schema.WriteString("x.csv", "Col1", "x"); }));
  if (std::string(c.name) != "MissingTarget") {
    EXPECT_SAME_BYTES(original, ReadBytes(target));
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
}

const LinkCase kLinkCases[] = {
    {"DataFileOfTheFolder", "data.csv", false},
    {"SchemaFileOfAnotherUser", "other/Schema.INI", true},
    {"MissingTarget", "other/schema.ini", false},
};

INSTANTIATE_TEST_SUITE_P(Targets, WriteThroughLink, ::testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RewriteFile, KeepsOwnerGroupAndMode) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can give a file away";
  TempDir dir;
  const std::string path = dir.File("Schema.INI");
  WriteBytes(path, "[a]\r\nk=1\r\n");
  ASSERT_EQ(0, chown(path.c_str(), kNobody, kNobody));
  ASSERT_EQ(0, chmod(path.c_str(), 0664));
  ProfileFile(path).WriteString("b", "k", "2");
  struct stat info;
  ASSERT_EQ(0, stat(path.c_str(), &info));
  EXPECT_EQ(kNobody, info.st_uid);
  EXPECT_EQ(kNobody, info.st_gid);
  EXPECT_EQ(0664u, info.st_mode & 07777);
  EXPECT_SAME_BYTES("[a]\r\nk=1\r\n[b]\r\nk=2\r\n", ReadBytes(path));
}

// Another user's save into a shared folder cannot hand a new file to the owner, so it
// rewrites the file in place and the owner keeps it.
TEST(RewriteFile, SaveByAnotherUserLeavesTheFileWithItsOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "needs a second user";
  TempDir dir;
  ASSERT_EQ(0, chmod(dir.Path().c_str(), 0777));
  const std::string path = dir.File("Schema.INI");
  WriteBytes(path, "[a]\r\nk=1\r\n");
  ASSERT_EQ(0, chmod(path.c_str(), 0666));
  struct stat before;
  ASSERT_EQ(0, stat(path.c_str(), &before));
  const std::string outcome = testing::RunWithoutPrivileges([&] {
    return FailureOf([&] { ProfileFile(path).WriteString("b", "k", "2"); });
  });
  EXPECT_EQ("written", outcome);
  struct stat after;
  ASSERT_EQ(0, stat(path.c_str(), &after));
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(0u, after.st_uid);
  EXPECT_EQ(0666u, after.st_mode & 07777);
  EXPECT_SAME_BYTES("[a]\r\nk=1\r\n[b]\r\nk=2\r\n", ReadBytes(path));
  EXPECT_EQ(std::set<std::string>{"Schema.INI"}, Entries(dir.Path()));
}

// Each round two threads add a section of their own at the same time; without a lock between
// reading and replacing, one of them would replace the file the other had just written.
TEST(RewriteFile, ConcurrentSavesOfDifferentSectionsAllSurvive) {
  TempDir dir;
  const std::string path = dir.File("Schema.INI");
  constexpr int kRounds = 60;
  for (int round = 0; round < kRounds; ++round) {
    std::thread first([&] { ProfileFile(path).ReplaceSection("a" + std::to_string(round), {{"k", "1"}}); });
    std::thread second([&] { ProfileFile(path).ReplaceSection("b" + std::to_string(round), {{"k", "2"}}); });
    first.join();
    second.join();
  }
  const ProfileFile schema(path);
  int missing = 0;
  for (int round = 0; round < kRounds; ++round) {
    missing += !schema.HasSection("a" + std::to_string(round));
    missing += !schema.HasSection("b" + std::to_string(round));
  }
  EXPECT_EQ(0, missing);
  EXPECT_EQ(std::set<std::string>{"Schema.INI"}, Entries(dir.Path()));
}

// A save killed while its copy exists: the copy had no more permissions than the file, the
// save held off another one until it died, and the next save clears its copy away.
TEST(RewriteFile, KilledSaveHoldsOthersOffAndItsCopyIsRemovedByTheNextSave) {
  TempDir dir;
  const std::string path = dir.File("Schema.INI");
  WriteBytes(path, "[a]\r\nk=1\r\n");
  ASSERT_EQ(0, chmod(path.c_str(), 0640));
  int inside[2];
  ASSERT_EQ(0, pipe(inside));
  const pid_t child = fork();
  if (child == 0) {
    RewriteFile(path, [&](const std::string& current) -> std::optional<std::string> {
      (void)!write(inside[1], "x", 1);
      pause();
      return current;
    });
    _exit(0);
  }
  char signal = 0;
  ASSERT_EQ(1, read(inside[0], &signal, 1));

  std::set<std::string> copies = Entries(dir.Path());
  copies.erase("Schema.INI");
  ASSERT_EQ(1u, copies.size());
  struct stat copy;
  ASSERT_EQ(0, stat(dir.File(*copies.begin()).c_str(), &copy));
  EXPECT_EQ(0u, copy.st_mode & 07777 & ~0640u);

  std::atomic<bool> saved = false;
  std::thread other([&] {
    ProfileFile(path).WriteString("b", "k", "2");
    saved = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(saved) << "a save went ahead while another held the folder";
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  other.join();
  EXPECT_TRUE(saved);
  EXPECT_SAME_BYTES("[a]\r\nk=1\r\n[b]\r\nk=2\r\n", ReadBytes(path));
  EXPECT_EQ(std::set<std::string>{"Schema.INI"}, Entries(dir.Path()));
  close(inside[0]);
  close(inside[1]);
}

}  // namespace
}  // namespace quorlin
