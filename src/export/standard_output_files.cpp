#include "export/standard_output_files.h"

#include <exception>

namespace quorlin {

StandardOutputFiles::StandardOutputFiles(std::string outputPath, int outputDescriptor, int logDescriptor)
    : outputPath_(std::move(outputPath)), outputDescriptor_(outputDescriptor), logDescriptor_(logDescriptor) {}

ByteSink& StandardOutputFiles::Create(const std::string& path) {
  if (path == outputPath_) {
    sinks_.push_back(FileSink::OnDescriptor(outputDescriptor_, "the standard output"));
  } else {
    // A log's lines may come at any time; they are passed on as they come.
    sinks_.push_back(FileSink::OnDescriptor(logDescriptor_, "the standard error", 0));
  }
  return *sinks_.back();
}

void StandardOutputFiles::CloseAll() {
  std::exception_ptr first;
  for (const auto& sink : sinks_) {
    try {
      sink->Close();
    } catch (...) {
      if (!first) first = std::current_exception();
    }
  }
  if (first) std::rethrow_exception(first);
}

}  // namespace quorlin
