// A private file in the temporary folder for what an export keeps aside while it runs.
#pragma once

#include <string>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

// Created in $TMPDIR (else /tmp), readable and writable by the user only, and removed when it
// goes. Its name is for a library that writes only to named files; Descriptor stays on the same
// file, which such a library truncates and rewrites in place.
class ScratchFile {
 public:
  // Raises FileError when the file cannot be created. `prefix` starts its name.
  explicit ScratchFile(const std::string& prefix);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& Path() const { return path_; }
  int Descriptor() const { return fd_; }

  // Appends the file's bytes, from its start, to `out`; raises FileError when it cannot be read.
  void CopyInto(ByteSink& out) const;

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace quorlin
