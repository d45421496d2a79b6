// A private folder for what a command keeps for itself while it runs: the standard input read
// into a file, a layout given on the command line. Removed with everything in it at the end.
#pragma once

#include <istream>
#include <string>

namespace quorlin {

class ScratchFolder {
 public:
  // Raises FileError when the folder cannot be made in the temporary folder ($TMPDIR).
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The path of `name` inside the folder.
  std::string File(const std::string& name) const;

  // Copies `in` to the file `name` of the folder (mode 0600) and gives its path; raises
  // FileError naming `what` when it cannot be read or written.
  std::string Spool(std::istream& in, const std::string& name, const std::string& what) const;

 private:
  std::string path_;
};

}  // namespace quorlin
