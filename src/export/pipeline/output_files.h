// How a writer creates its files: on disk beside each other, or in memory for the tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/pipeline/byte_sink.h"

namespace quorlin {

class StagedFile;

// What a created file is for.
enum class FileRole {
  Output,  // the export's own output
  // The export's own output, whose head the writer completes once the records are written
  // (ByteSink::WriteAt): one bound for the standard output is kept aside until then.
  PatchedOutput,
  Log,     // a writer's error log beside the output
  Part,    // a file in a folder that the writer itself puts in place whole: written directly
};

class OutputFiles {
 public:
  virtual ~OutputFiles() = default;
  // Creates the file at `path` and gives its sink, valid until this object goes. Raises
  // FileError when the file cannot be created.
  virtual ByteSink& Create(const std::string& path, FileRole role) = 0;
  // Closes every sink created, in order of creation, and keeps the files; raises the first
  // failure, in which case no file is kept.
  virtual void CloseAll() = 0;
  // Closes every sink created without keeping any file: what was there before stays.
  virtual void Discard() {}
};

// Files that appear under their names only when CloseAll succeeds: until then each is written
// beside its destination, and an export that fails, raises or is killed leaves the old files as
// they were. Files not kept when this object goes are dropped.
class DiskOutputFiles : public OutputFiles {
 public:
  DiskOutputFiles();
  ~DiskOutputFiles() override;
  ByteSink& Create(const std::string& path, FileRole role) override;
  void CloseAll() override;
  void Discard() override;

 private:
  std::vector<std::unique_ptr<StagedFile>> files_;
};

class MemoryOutputFiles : public OutputFiles {
 public:
  ByteSink& Create(const std::string& path, FileRole role) override;
  void CloseAll() override;
  void Discard() override;

  // The bytes of a created file; empty when it was never created.
  std::string Bytes(const std::string& path) const;
  bool WasCreated(const std::string& path) const { return sinks_.count(path) != 0; }
  std::vector<std::string> Created() const { return order_; }
  // Whether the files were dropped instead of kept.
  bool Discarded() const { return discarded_; }

 private:
  std::map<std::string, std::unique_ptr<MemorySink>> sinks_;
  std::vector<std::string> order_;
  bool discarded_ = false;
};

}  // namespace quorlin
