#include "cli/schema_place.h"

#include <filesystem>

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

}  // namespace quorlin
