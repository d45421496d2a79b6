#include "app/preview_grid_model.h"

#include <gtest/gtest.h>

namespace quorlin {
namespace {

TEST(PreviewColumnWidth, ElevenColumnsShareTheGridAtMost) {
  EXPECT_EQ(70, PreviewColumnWidth(770, 14));
  EXPECT_EQ(70, PreviewColumnWidth(770, 11));
  EXPECT_EQ(154, PreviewColumnWidth(770, 5));
  EXPECT_EQ(770, PreviewColumnWidth(770, 1));
  EXPECT_EQ(256, PreviewColumnWidth(770, 3));
}

}  // namespace
}  // namespace quorlin
