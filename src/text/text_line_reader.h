// The line rule by which every text file is read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quorlin {

// Reads a text file line by line: a carriage return ends a line (a line feed right after it
// belongs to the same line end), a lone line feed is an ordinary character, and Ctrl-Z or the
// physical end ends the file. Bytes are never converted. Reads through a large buffer, so
// neither long lines nor many lines cost a system call per byte.
// Opening or reading failures raise FileError with a message naming the file and the cause.
class TextLineReader {
 public:
  static constexpr std::size_t kDefaultBufferSize = 1 << 20;

  explicit TextLineReader(const std::string& path, std::size_t bufferSize = kDefaultBufferSize);
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;

  // True when the next byte is Ctrl-Z or no byte is left.
  bool AtEnd();

  // Reads the next line into `line` (without its line end). At the end of the file `line`
  // becomes empty and the result is false.
  bool ReadTextLine(std::string& line);

  // Goes back to the start of the file.
  void Rewind();

  const std::string& Path() const { return path_; }

 private:
  bool Fill();

  std::string path_;
  int fd_ = -1;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;  // Ctrl-Z seen or end of file reached
};

}  // namespace quorlin
