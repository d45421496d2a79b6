// The error raised when a file cannot be opened, read or written; its text is shown to the user.
#pragma once

#include <stdexcept>
#include <string>

namespace quorlin {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What running out of memory while working on a file is reported as.
inline FileError OutOfMemoryError(const std::string& path) {
  return FileError("Not enough memory to work on " + path);
}

}  // namespace quorlin
