// Files of an export that goes to the standard output: the output is the standard output and
// every log's lines go to the standard error. Nothing is written beside anything, and nothing
// is renamed: the one output of the program that is not a file replaced whole. An output whose
// head is completed at the end is kept in a private temporary file until then.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "export/pipeline/output_files.h"

namespace quorlin {

class StandardOutputFiles : public OutputFiles {
 public:
  // `outputPath` is the request's output path, which Create gives the standard output for.
  explicit StandardOutputFiles(std::string outputPath, int outputDescriptor = 1, int logDescriptor = 2);

  ByteSink& Create(const std::string& path, FileRole role) override;
  void CloseAll() override;

 private:
  std::string outputPath_;
  int outputDescriptor_;
  int logDescriptor_;
  std::vector<std::unique_ptr<ByteSink>> sinks_;
};

}  // namespace quorlin
