#include "export/output_files.h"

namespace quorlin {

ByteSink& DiskOutputFiles::Create(const std::string& path) {
  sinks_.push_back(std::make_unique<FileSink>(path));
  return *sinks_.back();
}

void DiskOutputFiles::CloseAll() {
  CloseEverySink(sinks_);
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
