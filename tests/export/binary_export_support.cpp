#include "export/binary_export_support.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "platform/file_error.h"
#include "support/test_files.h"

namespace quorlin::testing {

ExportField Field(std::string name, ExportFieldType type, std::int32_t length) {
  ExportField field;
  field.name = std::move(name);
  field.typeCode = type;
  field.length = length;
  field.decimals = type == ExportFieldType::Float ? 2 : 0;
  return field;
}

ExportRequest BinaryRequest(ExportFormat format, const std::string& input, const std::string& output,
                            ExportFields fields) {
  ExportRequest request;
  request.format = format;
  request.inputPath = input;
  request.outputPath = output;
  request.inputSeparator = ",";
  request.inputQualifier = "\"";
  request.fields = std::move(fields);
  request.recordLength = static_cast<std::int32_t>(TotalWidth(request.fields) + 1);
  request.now = DateTime{2002, 1, 1, 10, 0, 0, 0};
  request.locale = LocaleSettings{};
  return request;
}

class FailingOutputFiles::Sink : public ByteSink {
 public:
  Sink(std::string path, std::uint64_t& budget) : path_(std::move(path)), budget_(budget) {}
  void Write(std::string_view bytes) override {
    if (bytes.size() > budget_) throw FileError("Unable to write to " + path_ + ": No space left on device");
    budget_ -= bytes.size();
    size_ += bytes.size();
  }
  void WriteAt(std::uint64_t, std::string_view) override {}
  std::uint64_t Size() const override { return size_; }
  void Close() override {}

 private:
  std::string path_;
  std::uint64_t& budget_;
  std::uint64_t size_ = 0;
};

FailingOutputFiles::FailingOutputFiles(std::uint64_t budget) : budget_(budget) {}
FailingOutputFiles::~FailingOutputFiles() = default;

ByteSink& FailingOutputFiles::Create(const std::string& path) {
  sinks_.push_back(std::make_unique<Sink>(path, budget_));
  return *sinks_.back();
}

std::string RunCommand(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  std::string out;
  std::array<char, 4096> buffer;
  std::size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), read);
  pclose(pipe);
  return out;
}

std::string RunPython(const std::string& script, const std::string& argument) {
  TempDir dir;
  WriteBytes(dir.File("check.py"), script);
  return RunCommand("/usr/bin/python3 " + dir.File("check.py") + " '" + argument + "' 2>&1");
}

}  // namespace quorlin::testing
