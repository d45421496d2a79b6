// Where a data file's saved layout lives, and the rule that the data file is never written.
#pragma once

#include <string>

namespace quorlin {

struct SchemaPlace {
  std::string folder;      // the data file's folder, with a trailing "/"
  std::string schemaPath;  // that folder's Schema.INI
  std::string section;     // the data file's name
};

SchemaPlace SchemaPlaceFor(const std::string& dataPath);

// Refuses (CliError, exit 2) when the schema file is the data file itself, which is never written.
void RefuseWritingInput(const std::string& dataPath, const SchemaPlace& place);

}  // namespace quorlin
