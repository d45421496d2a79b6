#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <thread>

#include "text/ordered_batches.h"

namespace quorlin {
namespace {

struct Numbered {
  int number = -1;
  bool processed = false;
};
using Stage = OrderedBatches<Numbered>;

// The helper is slowed down, so that the consumer's own batches are ready before the helper's
// older ones and must wait for them.
TEST(OrderedBatches, HandsBatchesOverInTheirInputOrderWhicheverThreadProcessedThem) {
  int filled = 0;
  Stage stage(
      [&](Numbered& batch) {
        batch.number = filled++;
        batch.processed = false;
        return filled < 300;
      },
      [](Numbered& batch, std::size_t worker) {
        if (worker == 1) std::this_thread::sleep_for(std::chrono::microseconds(200));
        batch.processed = true;
      },
      Stage::Processing::Shared, 4);
  int expected = 0;
  while (const Numbered* batch = stage.Next()) {
    ASSERT_EQ(expected++, batch->number);
    EXPECT_TRUE(batch->processed);
  }
  EXPECT_EQ(300, expected);
  EXPECT_EQ(nullptr, stage.Next());
}

// Processing the lines read before an error of reading fails first, so its error is the one
// the user sees; either way it comes after every batch before it.
TEST(OrderedBatches, RaisesAnErrorOfProcessingInPlaceOfTheReadingErrorAfterIt) {
  for (const Stage::Processing processing : {Stage::Processing::HelperOnly, Stage::Processing::Shared}) {
    int filled = 0;
    Stage stage(
        [&](Numbered& batch) {
          batch.number = filled++;
          if (batch.number == 50) throw std::runtime_error("Unable to read the input");
          return true;
        },
        [](Numbered& batch, std::size_t) {
          if (batch.number == 50) throw std::runtime_error("Unable to format record 50");
        },
        processing, 3);
    int handed = 0;
    try {
      while (const Numbered* batch = stage.Next()) ASSERT_EQ(handed++, batch->number);
      ADD_FAILURE() << "the error was lost";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ("Unable to format record 50", error.what());
    }
    EXPECT_EQ(51, handed);
    EXPECT_THROW(stage.Next(), std::runtime_error);
  }
}

}  // namespace
}  // namespace quorlin
