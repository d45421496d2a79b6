// The inputs the SQL and connection-string fuzzers kept are checked again in every test run.
#include <gtest/gtest.h>

#include <string>

#include "../../fuzz/odbc_checks.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

std::string Corpus(const char* name) { return std::string(QUORLIN_TEST_DATA) + "/corpus/" + name; }

TEST(OdbcCorpus, QueriesKeepTheInvariants) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("sql_query"));
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckSelect(testing::ReadBytes(path)));
  }
}

TEST(OdbcCorpus, ConnectionStringsKeepTheInvariants) {
  const std::vector<std::string> files = fuzz::CorpusFiles(Corpus("connection_string"));
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    EXPECT_EQ("", fuzz::CheckConnectionString(testing::ReadBytes(path)));
  }
}

}  // namespace
}  // namespace quorlin
