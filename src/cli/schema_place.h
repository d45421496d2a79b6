// Where a data file's saved layout lives.
#pragma once

#include <string>

namespace quorlin {

struct SchemaPlace {
  std::string folder;      // the data file's folder, with a trailing "/"
  std::string schemaPath;  // that folder's Schema.INI
  std::string section;     // the data file's name
};

SchemaPlace SchemaPlaceFor(const std::string& dataPath);

}  // namespace quorlin
