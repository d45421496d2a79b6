// The sections of a folder's Schema.INI as the schema list shows them.
#include "schema/schema_list.h"

#include <algorithm>
#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/folder_files.h"
#include "platform/profile_file.h"

namespace quorlin {

bool HasSchemaFile(const std::string& folder) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(SchemaFilePath(WithTrailingSlash(folder)), ignored);
}

std::vector<std::string> ListSchemaSections(const std::string& folder) {
  if (!HasSchemaFile(folder)) return {};
  std::vector<std::string> sections =
      ProfileFile(SchemaFilePath(WithTrailingSlash(folder))).ReadSections();
  std::stable_sort(
      sections.begin(), sections.end(),
      [](const std::string& a, const std::string& b) { return AsciiLower(a) < AsciiLower(b); });
  // Section names match without regard to case, so a repeated section is one data file and
  // one entry of the list.
  sections.erase(std::unique(sections.begin(), sections.end(),
                             [](const std::string& a, const std::string& b) {
                               return AsciiLower(a) == AsciiLower(b);
                             }),
                 sections.end());
  return sections;
}

bool DeleteSchemaSection(const std::string& folder, const std::string& section) {
  try {
    ProfileFile(SchemaFilePath(WithTrailingSlash(folder))).EraseSection(section);
  } catch (const FileError&) {
    return false;
  }
  return true;
}

}  // namespace quorlin
