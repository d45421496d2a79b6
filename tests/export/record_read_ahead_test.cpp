#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export/pipeline/record_read_ahead.h"
#include "platform/file_error.h"

namespace quorlin {
namespace {

// A source of `count` records "r<n>,<n>" cut at the comma, which fails instead of giving
// record `failAt` (counted from 0) when that is set.
RecordReadAhead::Source NumberedRecords(int count, int failAt = -1) {
  return [count, failAt, n = 0, line = std::string()](std::string_view& view,
                                                      RecordValues& values) mutable {
    if (n == failAt) throw FileError("Unable to read the input");
    if (n == count) return false;
    line = "r" + std::to_string(n) + "," + std::to_string(n);
    ++n;
    view = line;
    const std::size_t comma = line.find(',');
    values = {view.substr(0, comma), view.substr(comma + 1), view.substr(view.size())};
    return true;
  };
}

// Enough records for several batches, so that batches are handed back and filled again.
TEST(RecordReadAhead, HandsOverEveryRecordInItsOrder) {
  RecordReadAhead records(NumberedRecords(10000));
  RecordValues values;
  for (int n = 0; n < 10000; ++n) {
    ASSERT_TRUE(records.Next(values));
    ASSERT_EQ(3u, values.size());
    EXPECT_EQ("r" + std::to_string(n), values[0]);
    EXPECT_EQ(std::to_string(n), values[1]);
    EXPECT_TRUE(values[2].empty());
  }
  EXPECT_FALSE(records.Next(values));
  EXPECT_FALSE(records.Next(values));
}

// A value whose doubled qualifiers were made single lies outside its line.
TEST(RecordReadAhead, KeepsValuesThatAreNoPartOfTheirLine) {
  RecordReadAhead records([n = 0, line = std::string(), own = std::string()](std::string_view& view,
                                                                             RecordValues& values) mutable {
    if (n == 3000) return false;
    line = "\"a\"\"" + std::to_string(n) + "\",x";
    own = "a\"" + std::to_string(n++);
    view = line;
    values = {std::string_view(own), view.substr(view.size() - 1)};
    return true;
  });
  RecordValues values;
  for (int n = 0; n < 3000; ++n) {
    ASSERT_TRUE(records.Next(values));
    ASSERT_EQ(2u, values.size());
    EXPECT_EQ("a\"" + std::to_string(n), values[0]);
    EXPECT_EQ("x", values[1]);
  }
  EXPECT_FALSE(records.Next(values));
}

TEST(RecordReadAhead, RaisesTheSourcesErrorAfterTheRecordsReadBeforeIt) {
  RecordReadAhead records(NumberedRecords(10000, 5000));
  RecordValues values;
  int read = 0;
  try {
    while (records.Next(values)) ++read;
    ADD_FAILURE() << "the error was lost";
  } catch (const FileError& error) {
    EXPECT_STREQ("Unable to read the input", error.what());
  }
  EXPECT_EQ(5000, read);
}

// A writer that fails stops taking records; the reading thread must stop with it.
TEST(RecordReadAhead, StopsWhenTheConsumerGivesUpEarly) {
  RecordReadAhead records(NumberedRecords(1000000));
  RecordValues values;
  ASSERT_TRUE(records.Next(values));
}

}  // namespace
}  // namespace quorlin
