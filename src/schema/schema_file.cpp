// Finding a folder's Schema.INI, and a data file from its section name.
#include "schema/schema_file.h"

#include <filesystem>
#include <system_error>

#include "platform/file_error.h"
#include "platform/file_paths.h"
#include "platform/folder_files.h"
#include "platform/ini_lines.h"
#include "schema/schema_writer.h"

namespace quorlin {

ProfileFile OpenSchemaFile(const std::string& folder) {
  const std::string prefix = WithTrailingSlash(folder);
  std::error_code error;
  std::filesystem::directory_iterator listing(prefix.empty() ? "." : prefix, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    throw FileError("Cannot open the folder " + prefix + ": " + error.message());
  }
  return ProfileFile(SchemaFilePath(prefix), Unreadable::Raises);
}

std::string DataFileFor(const std::string& folder, const std::string& section) {
  return FindInFolder(folder, section, [&section](const std::string& entry) {
    return ini::SameName(SectionNameFor(entry), section);
  });
}

std::optional<std::string> InputFileRefusal(const std::string& inputPath, const std::string& schemaPath) {
  if (!IsSameFile(inputPath, schemaPath)) return std::nullopt;
  return inputPath + ": the data file is the folder's schema file and is never written";
}

}  // namespace quorlin
