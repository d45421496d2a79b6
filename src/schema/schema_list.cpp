// The sections of a folder's Schema.INI as the schema list shows them.
#include "schema/schema_list.h"

#include <algorithm>
#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/file_error.h"
#include "platform/profile_file.h"
#include "schema/schema_file.h"

namespace quorlin {

bool HasSchemaFile(const std::string& folder) {
  std::error_code ignored;
  return std::filesystem::exists(OpenSchemaFile(folder).Path(), ignored);
}

std::vector<std::string> ListSchemaSections(const std::string& folder) {
  std::vector<std::string> sections = OpenSchemaFile(folder).ReadSections();
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

DeleteOutcome DeleteSchemaSection(const std::string& folder, const std::string& section,
                                  const std::string& inputPath) {
  DeleteOutcome outcome;
  ProfileFile file = OpenSchemaFile(folder);
  if (std::optional<std::string> refusal = InputFileRefusal(inputPath, file.Path())) {
    outcome.refused = true;
    outcome.message = std::move(*refusal);
    return outcome;
  }
  outcome.message = kSectionNotRemovedMessage;
  if (!file.HasSection(section)) return outcome;
  try {
    file.EraseSection(section);
  } catch (const FileError& error) {
    // "Unable to write to" the schema file says no more than the message itself.
    if (error.what() != "Unable to write to " + file.Path()) outcome.message += std::string("\n") + error.what();
    return outcome;
  }
  outcome.removed = true;
  outcome.message = kSectionRemovedMessage;
  return outcome;
}

}  // namespace quorlin
