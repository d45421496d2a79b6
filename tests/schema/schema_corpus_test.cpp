// The inputs the schema reader and date parser fuzzers kept are checked again in every test run.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/schema_checks.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

std::string Corpus(const char* name) { return std::string(QUORLIN_TEST_DATA) + "/corpus/" + name; }

TEST(SchemaCorpus, EverySchemaFileReadsSafely) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("schema_reader"));
  ASSERT_FALSE(files.empty());
  testing::TempDir dir;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckSchemaReader(testing::ReadBytes(path), dir.File("Schema.INI")));
  }
}

TEST(SchemaCorpus, DateRecognisersAgreeOnEveryInput) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("date_parser"));
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckDates(testing::ReadBytes(path)));
  }
}

}  // namespace
}  // namespace quorlin
