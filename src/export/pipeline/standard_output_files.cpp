#include "export/pipeline/standard_output_files.h"

namespace quorlin {

StandardOutputFiles::StandardOutputFiles(std::string outputPath, int outputDescriptor, int logDescriptor)
    : outputPath_(std::move(outputPath)), outputDescriptor_(outputDescriptor), logDescriptor_(logDescriptor) {}

ByteSink& StandardOutputFiles::Create(const std::string& path, FileRole role) {
  if (role != FileRole::Log && path == outputPath_) {
    sinks_.push_back(FileSink::OnDescriptor(outputDescriptor_, "the standard output"));
  } else {
    // A log's lines may come at any time; they are passed on as they come.
    sinks_.push_back(FileSink::OnDescriptor(logDescriptor_, "the standard error", 0));
  }
  return *sinks_.back();
}

void StandardOutputFiles::CloseAll() {
  CloseEverySink(sinks_);
}

}  // namespace quorlin
