// Where writers put their bytes: a buffered file, a block of memory, or any other sink.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorlin {

// What the user is told when the file at `path` cannot be created, for the error number `error`.
std::string CreateFailureMessage(const std::string& path, int error);

// Failures raise FileError with the message the user sees, e.g.
// "Unable to write to /data/out.csv: No space left on device".
class ByteSink {
 public:
  virtual ~ByteSink() = default;

  // Appends `bytes`.
  virtual void Write(std::string_view bytes) = 0;
  // Replaces bytes already written, from `offset` on (a binary header completed at the end,
  // such as a record count); offset + size must not pass Size().
  virtual void WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
  // The number of bytes written so far.
  virtual std::uint64_t Size() const = 0;
  // Pushes buffered bytes to their destination and releases it; later writes are errors.
  virtual void Close() = 0;

  // Room for `size` bytes after what was written, for a writer to fill in place instead of
  // building its bytes elsewhere and copying them; Commit(used) then appends the first `used`
  // of them (at most `size`). Until then nothing counts as written. The room is valid until the
  // next call on the sink. A failure is raised by Reserve or Commit, as Write raises it. This
  // default stages the bytes and hands them to Write, so every sink supports it; a buffered
  // sink lends its own buffer instead.
  virtual std::span<char> Reserve(std::size_t size);
  virtual void Commit(std::size_t used);

 private:
  std::string staged_;
};

// A file created anew (an existing one emptied), written through a buffer. The destructor
// closes a sink that was not closed, ignoring errors: call Close to learn of them.
class FileSink : public ByteSink {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;
  // Pieces of at least this size are written without being buffered.
  static constexpr std::size_t kDirectWriteBytes = 64 * 1024;

  // Raises FileError naming the file and the cause when it cannot be created.
  explicit FileSink(std::string path, std::size_t bufferSize = kDefaultBufferSize);
  // A file opened for writing elsewhere, which becomes the sink's.
  struct Opened {
    int fd;
  };
  // Writes to `file`; `path` names it in messages.
  FileSink(std::string path, Opened file, std::size_t bufferSize = kDefaultBufferSize);
  // A sink on a copy of an open descriptor, such as the standard output, named `name` in
  // messages; closing it leaves the descriptor itself open.
  static std::unique_ptr<FileSink> OnDescriptor(int descriptor, std::string name,
                                                std::size_t bufferSize = kDefaultBufferSize);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  void Write(std::string_view bytes) override;
  void WriteAt(std::uint64_t offset, std::string_view bytes) override;
  std::uint64_t Size() const override { return flushed_ + used_; }
  void Close() override;
  // Room in the buffer itself (enlarged for a reservation larger than it).
  std::span<char> Reserve(std::size_t size) override;
  void Commit(std::size_t used) override { used_ += used; }

  const std::string& Path() const { return path_; }
  // Hands every buffered byte to the file, which stays open.
  void Flush();
  // The open file, -1 once closed.
  int Descriptor() const { return fd_; }

 private:
  void WriteThrough(std::string_view bytes);
  [[noreturn]] void Fail(int error);

  std::string path_;
  int fd_ = -1;
  // Not filled when made, so that pages a small output never reaches are never touched.
  std::unique_ptr<char[]> buffer_;
  std::size_t bufferSize_;  // the capacity, or more after a larger reservation
  std::size_t used_ = 0;    // bytes of buffer_ that wait for the file
  std::size_t capacity_;
  std::uint64_t flushed_ = 0;  // bytes already handed to the file
};

// Closes every sink in order; raises the first failure after closing all.
void CloseEverySink(const std::vector<std::unique_ptr<ByteSink>>& sinks);

// Keeps everything written in memory.
class MemorySink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { bytes_.append(bytes); }
  void WriteAt(std::uint64_t offset, std::string_view bytes) override;
  std::uint64_t Size() const override { return bytes_.size(); }
  void Close() override { closed_ = true; }

  const std::string& Bytes() const { return bytes_; }
  bool Closed() const { return closed_; }

 private:
  std::string bytes_;
  bool closed_ = false;
};

}  // namespace quorlin
