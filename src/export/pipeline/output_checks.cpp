#include "export/pipeline/output_checks.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "export/export_paths.h"
#include "platform/ascii_case.h"
#include "platform/folder_files.h"

namespace quorlin {

namespace {

constexpr const char* kSchemaFileName = "Schema.INI";

bool SameFolder(const std::string& a, const std::string& b) {
  const std::string folderA = FolderOf(a);
  const std::string folderB = FolderOf(b);
  return std::filesystem::path(folderA).lexically_normal() == std::filesystem::path(folderB).lexically_normal() ||
         IsSameFile(folderA, folderB);
}

// The same file by name in any letter case, or by device and inode when both exist. Files the
// export creates, and Schema.INI, which is looked up in any letter case, are compared so; the
// input is a file apart from one whose name differs in case only where the file system keeps
// them apart, which the inodes tell: the dialog's default output for data.csv is data.CSV.
bool SameFile(const std::string& a, const std::string& b) {
  if (SameFolder(a, b) && EqualNoCase(FileNameOf(a), FileNameOf(b))) return true;
  return IsSameFile(a, b);
}

// The name a write to `path` replaces: a link's target's when it is a link.
std::string WrittenName(const std::string& path) {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? FileNameOf(path) : target.filename().string();
}

std::optional<std::string> LogRefusal(const std::string& log) {
  struct stat info {};
  if (::lstat(log.c_str(), &info) != 0) return std::nullopt;
  if (S_ISLNK(info.st_mode)) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(log, error).string();
    return "Cannot write the log " + log + ": it is a symbolic link to " + target;
  }
  if (!S_ISREG(info.st_mode)) return "Cannot write the log " + log + ": it is not a regular file";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> OutputFilesRefusal(const std::string& inputPath, const std::vector<std::string>& files) {
  const std::string schema = SchemaFilePath(FolderOf(inputPath));
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& path = files[i];
    const std::string what = i == 0 ? "Cannot export into " + path : "Cannot write the log " + path;
    if (i > 0) {
      if (auto refusal = LogRefusal(path)) return refusal;
    }
    if (IsSameFile(inputPath, path)) return what + ": it is the input file " + inputPath;
    if (EqualNoCase(FileNameOf(path), kSchemaFileName) || EqualNoCase(WrittenName(path), kSchemaFileName) ||
        SameFile(schema, path)) {
      return what + ": it would replace the saved layouts of its folder";
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (SameFile(files[j], path)) {
        return (j == 0 ? "Cannot export into " : "Cannot write the log ") + files[j] + ": it is the log " + path +
               " the export writes";
      }
    }
  }
  return std::nullopt;
}

}  // namespace quorlin
