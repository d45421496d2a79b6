#include "export/pipeline/output_files.h"

#include "export/pipeline/staged_file.h"
#include "platform/file_error.h"

namespace quorlin {

DiskOutputFiles::DiskOutputFiles() = default;
DiskOutputFiles::~DiskOutputFiles() { Discard(); }

ByteSink& DiskOutputFiles::Create(const std::string& path, FileRole role) {
  files_.push_back(std::make_unique<StagedFile>(path, role == FileRole::Part ? StagedFile::Placement::Direct
                                                                               : StagedFile::Placement::Staged));
  return files_.back()->Sink();
}

void DiskOutputFiles::CloseAll() {
  // Every file is written out before any is put in place, so that a full disk keeps them all
  // out.
  try {
    for (const auto& file : files_) file->Flush();
    for (const auto& file : files_) file->PutInPlace();
  } catch (const FileError&) {
    Discard();
    throw;
  }
}

void DiskOutputFiles::Discard() {
  for (const auto& file : files_) file->Drop();
}

ByteSink& MemoryOutputFiles::Create(const std::string& path, FileRole) {
  auto& sink = sinks_[path];
  sink = std::make_unique<MemorySink>();
  order_.push_back(path);
  return *sink;
}

void MemoryOutputFiles::CloseAll() {
  for (auto& [path, sink] : sinks_) sink->Close();
}

void MemoryOutputFiles::Discard() {
  CloseAll();
  discarded_ = true;
}

std::string MemoryOutputFiles::Bytes(const std::string& path) const {
  const auto found = sinks_.find(path);
  return found == sinks_.end() ? std::string() : found->second->Bytes();
}

}  // namespace quorlin
