#include "export/pipeline/standard_output_files.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>

#include "export/pipeline/scratch_file.h"
#include "platform/file_error.h"

namespace quorlin {

namespace {

// A descriptor of the scratch file of its own, for a sink that closes it.
FileSink::Opened OpenedAgain(const ScratchFile& scratch) {
  const int fd = ::fcntl(scratch.Descriptor(), F_DUPFD_CLOEXEC, 0);
  if (fd < 0) throw FileError("Cannot write to " + scratch.Path() + ": " + std::strerror(errno));
  return {fd};
}

// An output whose writer goes back to complete its head, on its way to a descriptor that may
// not go back (a pipe), or whose offsets are not the output's own (a file appended to): kept
// in a scratch file, where it can be patched, and copied to the descriptor whole at Close.
class SpooledSink : public ByteSink {
 public:
  explicit SpooledSink(std::unique_ptr<FileSink> destination)
      : scratch_("quorlin-output"),
        spool_(scratch_.Path(), OpenedAgain(scratch_)),
        destination_(std::move(destination)) {}

  void Write(std::string_view bytes) override { spool_.Write(bytes); }
  void WriteAt(std::uint64_t offset, std::string_view bytes) override { spool_.WriteAt(offset, bytes); }
  std::uint64_t Size() const override { return spool_.Size(); }
  std::span<char> Reserve(std::size_t size) override { return spool_.Reserve(size); }
  void Commit(std::size_t used) override { spool_.Commit(used); }

  void Close() override {
    spool_.Close();
    scratch_.CopyInto(*destination_);
    destination_->Close();
  }

 private:
  ScratchFile scratch_;
  FileSink spool_;
  std::unique_ptr<FileSink> destination_;
};

}  // namespace

StandardOutputFiles::StandardOutputFiles(std::string outputPath, int outputDescriptor, int logDescriptor)
    : outputPath_(std::move(outputPath)), outputDescriptor_(outputDescriptor), logDescriptor_(logDescriptor) {}

ByteSink& StandardOutputFiles::Create(const std::string& path, FileRole role) {
  if (role != FileRole::Log && path == outputPath_) {
    std::unique_ptr<FileSink> output = FileSink::OnDescriptor(outputDescriptor_, "the standard output");
    if (role == FileRole::PatchedOutput) {
      sinks_.push_back(std::make_unique<SpooledSink>(std::move(output)));
    } else {
      sinks_.push_back(std::move(output));
    }
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
