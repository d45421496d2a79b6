#include <gtest/gtest.h>

#include <sstream>

#include "cli/progress_bar.h"

namespace quorlin {
namespace {

TEST(TerminalProgress, DrawsTheFirstAndLastPositionAndEndsItsLine) {
  std::ostringstream out;
  TerminalProgress bar(out);
  bar.Update(0, 4);
  bar.Update(1, 4);  // within the redraw interval: skipped
  bar.Update(4, 4);
  bar.Finish();
  const std::string text = out.str();
  EXPECT_TRUE(text.starts_with("\r[                              ] 0 / 4 records, ")) << text;
  EXPECT_NE(std::string::npos, text.find("\r[##############################] 4 / 4 records, "));
  EXPECT_EQ(std::string::npos, text.find("1 / 4"));
  EXPECT_TRUE(text.ends_with("records/s\x1b[K\n")) << text;
}

TEST(TerminalProgress, NothingDrawnLeavesNothing) {
  std::ostringstream out;
  TerminalProgress bar(out);
  bar.Finish();
  EXPECT_EQ("", out.str());
}

}  // namespace
}  // namespace quorlin
