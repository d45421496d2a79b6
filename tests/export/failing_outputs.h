// Output files in memory that fail once a number of bytes was written to them all together.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "export/pipeline/output_files.h"
#include "platform/file_error.h"

namespace quorlin::testing {

class FailingOutputFiles : public OutputFiles {
 public:
  // Writes succeed for the first `budget` bytes over all files; the write that would pass that
  // fails without writing anything. WriteAt of bytes already written always succeeds.
  explicit FailingOutputFiles(std::uint64_t budget) : left_(budget) {}

  ByteSink& Create(const std::string& path, FileRole) override {
    auto& sink = sinks_[path];
    sink = std::make_unique<Sink>(*this, path);
    return *sink;
  }
  void CloseAll() override {}

  std::string Bytes(const std::string& path) const {
    const auto found = sinks_.find(path);
    return found == sinks_.end() ? std::string() : found->second->bytes;
  }

 private:
  struct Sink : ByteSink {
    Sink(FailingOutputFiles& owner, std::string path) : owner(owner), path(std::move(path)) {}
    void Write(std::string_view more) override {
      if (more.size() > owner.left_) {
        throw FileError("Unable to write to " + path + ": No space left on device");
      }
      owner.left_ -= more.size();
      bytes.append(more);
    }
    void WriteAt(std::uint64_t offset, std::string_view more) override {
      bytes.replace(static_cast<std::size_t>(offset), more.size(), more);
    }
    std::uint64_t Size() const override { return bytes.size(); }
    void Close() override {}

    FailingOutputFiles& owner;
    std::string path;
    std::string bytes;
  };

  std::uint64_t left_;
  std::map<std::string, std::unique_ptr<Sink>> sinks_;
};

}  // namespace quorlin::testing
