// The data files that have a section in a folder's Schema.INI.
#pragma once

#include <string>
#include <vector>

namespace quorlin {

// Whether the folder holds a Schema.INI. Raises FileError when the folder cannot be listed.
bool HasSchemaFile(const std::string& folder);

// Section names in alphabetical order without regard to case; empty without a schema file.
// Raises FileError when the folder cannot be listed or the schema file cannot be read.
std::vector<std::string> ListSchemaSections(const std::string& folder);

inline constexpr const char* kSectionRemovedMessage = "File removed from the Schema";
inline constexpr const char* kSectionNotRemovedMessage =
    "Could NOT remove this file from the Schema File";

struct DeleteOutcome {
  bool removed = false;
  bool refused = false;  // nothing was tried: the schema file is the input file
  std::string message;   // what the window shows, lines joined with "\n"
};

// Erases the section from the folder's schema file while `inputPath` (empty when none) is the
// input file. Not removed when the file has no such section (wherever it stands in the file)
// or cannot be written, the message then saying why when there is more to say; refused when
// the schema file is the input file, which is never written. Raises FileError when the
// folder or the schema file cannot be read.
DeleteOutcome DeleteSchemaSection(const std::string& folder, const std::string& section,
                                  const std::string& inputPath);

}  // namespace quorlin
