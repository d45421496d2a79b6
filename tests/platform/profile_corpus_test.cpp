// The inputs the profile file fuzzer kept are checked again in every test run.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/profile_checks.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

TEST(ProfileCorpus, EveryInputReadsAndWritesSafely) {
  const std::vector<std::string> files =
      fuzz::CorpusFiles(std::string(QUORLIN_TEST_DATA) + "/corpus/profile_file");
  ASSERT_FALSE(files.empty());
  testing::TempDir dir;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckProfileFile(testing::ReadBytes(path), dir.File("profile.ini")));
  }
}

}  // namespace
}  // namespace quorlin
