// A folder of part files that appears whole under its name, or not at all.
#pragma once

#include <optional>
#include <string>

namespace quorlin::parquet {

// The name of the n-th part file of a dataset (from 0).
std::string PartFileName(long long number);

// Why `folder` cannot become a dataset: it is a file, or a folder holding anything but part
// files (which replacing it would delete). Nothing when it is free or a dataset already.
std::optional<std::string> DatasetFolderRefusal(const std::string& folder);

// A hidden folder beside the target, filled first and then put in the target's place; one that
// is never committed is removed with what it holds.
class StagedFolder {
 public:
  // Raises FileError when the folder cannot be made.
  explicit StagedFolder(std::string target);
  ~StagedFolder();
  StagedFolder(const StagedFolder&) = delete;
  StagedFolder& operator=(const StagedFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Puts the staged folder in the target's place, an earlier dataset there being removed.
  // Raises FileError when it cannot.
  void Commit();

 private:
  std::string target_;
  std::string path_;
  bool committed_ = false;
};

}  // namespace quorlin::parquet
