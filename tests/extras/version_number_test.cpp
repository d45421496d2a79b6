// Versions compare number by number, never as texts.
#include "extras/version_number.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(ParseVersion, ComparesNumberByNumber) {
  struct Row {
    const char* offered;
    const char* running;
    bool newer;
  };
  const Row rows[] = {
      {"1.0.1.3", "1.0.1.22", false},  {"1.0.1.22", "1.0.1.3", true},
      {"10.0.0.0", "9.0.0.0", true},   {"9.0.0.0", "10.0.0.0", false},
      {"2.0", "1.9.9.9", true},        {"1.0.1.22", "1.0.1.22", false},
      {"1.0", "1.0.0.0", false},       {" 1.0.0.2\t", "1.0.0.1", true},
      {"0001.0.0.0", "1.0.0.0", false}};
  for (const Row& row : rows) {
    const auto offered = ParseVersion(row.offered);
    const auto running = ParseVersion(row.running);
    ASSERT_TRUE(offered && running) << row.offered << " / " << row.running;
    EXPECT_EQ(row.newer, *offered > *running) << row.offered << " against " << row.running;
  }
}

TEST(ParseVersion, RefusesWhatIsNoVersion) {
  for (const char* text : {"", " ", "1.", ".1", "1..2", "1.2.3.4.5", "v1.2", "1.2b", "1.-2",
                           "+1.2", "1,2", "1 .2", "1234567890.0", "one.two"}) {
    EXPECT_FALSE(ParseVersion(text)) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace quorlin
