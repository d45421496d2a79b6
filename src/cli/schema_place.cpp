#include "cli/schema_place.h"

#include <filesystem>
#include <system_error>

#include "cli/cli_error.h"
#include "platform/folder_files.h"
#include "schema/schema_writer.h"

namespace quorlin {

SchemaPlace SchemaPlaceFor(const std::string& dataPath) {
  SchemaPlace place;
  const std::string parent = std::filesystem::path(dataPath).parent_path().string();
  place.folder = WithTrailingSlash(parent.empty() ? "." : parent);
  place.schemaPath = SchemaFilePath(place.folder);
  place.section = SectionNameFor(dataPath);
  return place;
}

void RefuseWritingInput(const std::string& dataPath, const SchemaPlace& place) {
  std::error_code error;
  if (std::filesystem::equivalent(dataPath, place.schemaPath, error)) {
    throw CliError(kExitRefused,
                   dataPath + ": the data file is the folder's schema file and is never written");
  }
}

}  // namespace quorlin
