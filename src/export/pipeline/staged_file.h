// An output file that appears under its name only once it is complete.
#pragma once

#include <memory>
#include <string>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

// Written into a file of its own beside the destination (unnamed while it is written where the
// file system allows, else hidden under a name of its own, readable by the user only) and
// renamed over the destination by PutInPlace, so that an export that fails or is killed
// leaves the old file as it was and nothing else behind. A destination that is a symbolic link
// gets its target replaced. A destination that exists and is no regular file (a named pipe, a
// device such as /dev/stdout) cannot be replaced and is written directly.
class StagedFile {
 public:
  enum class Placement {
    Staged,  // beside the destination until PutInPlace
    Direct,  // at the destination at once, as in a folder that is itself put in place whole
  };

  // Raises FileError naming `path` when the file cannot be created beside it.
  explicit StagedFile(const std::string& path, Placement placement = Placement::Staged);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  ByteSink& Sink() { return *sink_; }
  // Writes every byte held back; raises FileError when they do not fit. A file written
  // directly may have been closed by its writer already.
  void Flush() {
    if (sink_->Descriptor() >= 0) sink_->Flush();
  }
  // Gives the file the destination's name, replacing what was there; raises FileError.
  void PutInPlace();
  // Forgets the file; the destination stays as it was. Never raises.
  void Drop();

 private:
  std::string path_;         // as the user named it
  std::string destination_;  // the file replaced: the path, or the target of its link
  std::string hiddenName_;   // the named stand-in, when the file system has no unnamed files
  std::unique_ptr<FileSink> sink_;
  bool direct_ = false;
  bool done_ = false;
};

}  // namespace quorlin
