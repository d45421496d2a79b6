#include "export/output_files.h"

#include <exception>

namespace quorlin {

ByteSink& DiskOutputFiles::Create(const std::string& path) {
  sinks_.push_back(std::make_unique<FileSink>(path));
  return *sinks_.back();
}

void DiskOutputFiles::CloseAll() {
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

ByteSink& MemoryOutputFiles::Create(const std::string& path) {
  auto& sink = sinks_[path];
  sink = std::make_unique<MemorySink>();
  order_.push_back(path);
  return *sink;
}

void MemoryOutputFiles::CloseAll() {
  for (auto& [path, sink] : sinks_) sink->Close();
}

std::string MemoryOutputFiles::Bytes(const std::string& path) const {
  const auto found = sinks_.find(path);
  return found == sinks_.end() ? std::string() : found->second->Bytes();
}

}  // namespace quorlin
