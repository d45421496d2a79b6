#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "export/pipeline/byte_blocks.h"
#include "export/pipeline/byte_sink.h"
#include "platform/file_error.h"
#include "support/test_files.h"

namespace quorlin {
namespace {

using testing::ReadBytes;
using testing::TempDir;

// A buffer of 4 bytes makes every write and rewrite cross what has reached the file.
TEST(FileSink, RewritesBytesWhetherBufferedOrAlreadyWritten) {
  TempDir dir;
  FileSink sink(dir.File("out.bin"), 4);
  sink.Write("abcdef");
  sink.Write("gh");
  sink.Write("ij");
  EXPECT_EQ(10u, sink.Size());
  sink.WriteAt(4, "EFGHI");  // "ef" in the file, "gh" flushed by the last write, "i" buffered
  sink.WriteAt(0, "A");
  sink.Close();
  EXPECT_EQ("AbcdEFGHIj", ReadBytes(dir.File("out.bin")));
  EXPECT_THROW(sink.Write("x"), FileError);
}

TEST(FileSink, RefusesWhatCannotBeWritten) {
  TempDir dir;
  ASSERT_EQ(0, ::mkfifo(dir.File("pipe").c_str(), 0644));
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.File("pipe"), "Cannot create " + dir.File("pipe") + ": it is a named pipe that nothing reads"},
      {dir.File("none/out.csv"), "Cannot create " + dir.File("none/out.csv") + ": the folder does not exist"},
      {dir.Path(), dir.Path() + " is a folder, not a file"},
  };
  for (const auto& c : cases) {
    try {
      FileSink sink(c.path);
      ADD_FAILURE() << c.path << " was opened";
    } catch (const FileError& error) {
      EXPECT_EQ(c.message, std::string(error.what()));
    }
  }
  FileSink full("/dev/full", 4);
  full.Write("abc");
  EXPECT_THROW(full.Write("defg"), FileError);
  EXPECT_THROW(full.WriteAt(5, "x"), FileError);
}

// Room larger than the buffer, partly used, among writes and rewrites; a flush that fails
// fails the reservation that needed it.
TEST(FileSink, LendsRoomOfAnySizeAndKeepsOnlyWhatWasCommitted) {
  TempDir dir;
  FileSink sink(dir.File("out.bin"), 4);
  sink.Write("ab");
  std::span<char> room = sink.Reserve(10);
  ASSERT_EQ(10u, room.size());
  std::memcpy(room.data(), "cdefghijkl", room.size());
  sink.Commit(6);
  EXPECT_EQ(8u, sink.Size());
  sink.WriteAt(1, "B");
  room = sink.Reserve(1);
  room[0] = 'z';
  sink.Commit(1);
  sink.Close();
  EXPECT_EQ("aBcdefghz", ReadBytes(dir.File("out.bin")));

  FileSink full("/dev/full", 4);
  full.Reserve(3);
  full.Commit(3);
  EXPECT_THROW(full.Reserve(2), FileError);
}

TEST(MemorySink, RewritesOnlyWhatWasWritten) {
  MemorySink sink;
  sink.Write("abc");
  sink.WriteAt(1, "B");
  EXPECT_EQ("aBc", sink.Bytes());
  EXPECT_THROW(sink.WriteAt(2, "xy"), FileError);
}

// Pieces of odd sizes fill the small first block and cross huge ones; any stretch of them is
// written as it was appended. After clearing, the blocks are filled again from the start.
TEST(ByteBlocks, WritesAnyStretchOfWhatWasAppendedSinceClearing) {
  ByteBlocks blocks;
  std::string expected;
  for (std::size_t piece = 0; expected.size() < (std::size_t{5} << 20); ++piece) {
    const std::string bytes((piece * 7919) % 300'000, static_cast<char>('a' + piece % 26));
    blocks.Append(bytes);
    expected += bytes;
  }
  EXPECT_EQ(expected.size(), blocks.Size());
  const std::pair<std::size_t, std::size_t> stretches[] = {
      {0, expected.size()}, {60'000, 3'000'000}, {(std::size_t{2} << 20) + (64 << 10), 1}, {expected.size(), 0}};
  for (const auto& [offset, size] : stretches) {
    MemorySink sink;
    blocks.WriteTo(sink, offset, size);
    EXPECT_TRUE(sink.Bytes() == expected.substr(offset, size)) << offset << " " << size;
  }

  blocks.Clear();
  EXPECT_EQ(0u, blocks.Size());
  const std::string again(std::size_t{3} << 20, 'z');
  blocks.Append(again);
  MemorySink second;
  blocks.WriteTo(second, 0, blocks.Size());
  EXPECT_TRUE(second.Bytes() == again);
}

}  // namespace
}  // namespace quorlin
