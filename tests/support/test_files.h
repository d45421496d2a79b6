// Scratch folders and byte-exact file comparisons for the tests.
#pragma once

#include <set>
#include <string>

namespace quorlin::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder's path with a trailing "/".
  const std::string& Path() const { return path_; }
  // Path() + name.
  std::string File(const std::string& name) const { return path_ + name; }
  // The names of the entries in the folder.
  std::set<std::string> Names() const;

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// Empty when equal; otherwise the first differing offset with a short hex window of both.
std::string DescribeByteDifference(const std::string& expected, const std::string& actual);

}  // namespace quorlin::testing

// Fails the test with the first differing offset instead of two walls of bytes.
#define EXPECT_SAME_BYTES(expected, actual) \
  EXPECT_EQ("", ::quorlin::testing::DescribeByteDifference((expected), (actual)))
