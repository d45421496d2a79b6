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

// Every record of a reader's batches, in their order, as text: a record a line, values
// separated by "|"; the batches' sizes go to `sizes`.
std::vector<std::string> ReadAll(RecordReadAhead& records, std::vector<std::size_t>* sizes = nullptr) {
  std::vector<std::string> read;
  RecordBatch batch;
  while (records.Next(batch)) {
    if (sizes) sizes->push_back(batch.Size());
    for (std::size_t i = 0; i < batch.Size(); ++i) {
      std::string record;
      for (std::size_t v = 0; v < batch.ValueCount(i); ++v) record += (v ? "|" : "") + std::string(batch.Value(i, v));
      read.push_back(record);
    }
  }
  return read;
}

// Enough records for several batches, so that batches are handed back and filled again.
TEST(RecordReadAhead, HandsOverEveryRecordInItsOrder) {
  RecordReadAhead records(NumberedRecords(10000));
  std::vector<std::size_t> sizes;
  const std::vector<std::string> read = ReadAll(records, &sizes);
  ASSERT_EQ(10000u, read.size());
  for (int n = 0; n < 10000; ++n) EXPECT_EQ("r" + std::to_string(n) + "|" + std::to_string(n) + "|", read[n]);
  EXPECT_GT(sizes.size(), 1u);
  RecordBatch batch;
  EXPECT_FALSE(records.Next(batch));
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
  const std::vector<std::string> read = ReadAll(records);
  ASSERT_EQ(3000u, read.size());
  for (int n = 0; n < 3000; ++n) EXPECT_EQ("a\"" + std::to_string(n) + "|x", read[n]);
}

TEST(RecordReadAhead, RaisesTheSourcesErrorAfterTheRecordsReadBeforeIt) {
  RecordReadAhead records(NumberedRecords(10000, 5000));
  RecordBatch batch;
  std::size_t read = 0;
  try {
    while (records.Next(batch)) read += batch.Size();
    ADD_FAILURE() << "the error was lost";
  } catch (const FileError& error) {
    EXPECT_STREQ("Unable to read the input", error.what());
  }
  EXPECT_EQ(5000u, read);
}

// A writer that fails stops taking records; the reading thread must stop with it.
TEST(RecordReadAhead, StopsWhenTheConsumerGivesUpEarly) {
  RecordReadAhead records(NumberedRecords(1000000));
  RecordBatch batch;
  ASSERT_TRUE(records.Next(batch));
}

}  // namespace
}  // namespace quorlin
