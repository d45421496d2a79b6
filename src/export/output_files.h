// How a writer creates its files: on disk beside each other, or in memory for the tests.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/byte_sink.h"

namespace quorlin {

class OutputFiles {
 public:
  virtual ~OutputFiles() = default;
  // Creates (or empties) the file at `path` and gives its sink, valid until this object goes.
  // Raises FileError when the file cannot be created.
  virtual ByteSink& Create(const std::string& path) = 0;
  // Closes every sink created, in order of creation; raises the first failure after closing all.
  virtual void CloseAll() = 0;
};

class DiskOutputFiles : public OutputFiles {
 public:
  ByteSink& Create(const std::string& path) override;
  void CloseAll() override;

 private:
  std::vector<std::unique_ptr<FileSink>> sinks_;
};

class MemoryOutputFiles : public OutputFiles {
 public:
  ByteSink& Create(const std::string& path) override;
  void CloseAll() override;

  // The bytes of a created file; empty when it was never created.
  std::string Bytes(const std::string& path) const;
  bool WasCreated(const std::string& path) const { return sinks_.count(path) != 0; }
  std::vector<std::string> Created() const { return order_; }

 private:
  std::map<std::string, std::unique_ptr<MemorySink>> sinks_;
  std::vector<std::string> order_;
};

}  // namespace quorlin
