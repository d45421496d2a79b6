// The inputs the splitter and line reader fuzzers kept are checked again in every test run.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/text_checks.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

std::string Corpus(const char* name) { return std::string(QUORLIN_TEST_DATA) + "/corpus/" + name; }

TEST(TextCorpus, SplitterInputsKeepTheInvariants) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("splitter"));
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckSplit(testing::ReadBytes(path)));
  }
}

TEST(TextCorpus, LineReaderInputsKeepTheLineRule) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("line_reader"));
  ASSERT_FALSE(files.empty());
  testing::TempDir dir;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckLineReader(testing::ReadBytes(path), dir.File("lines.txt")));
  }
}

}  // namespace
}  // namespace quorlin
