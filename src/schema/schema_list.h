// The data files that have a section in a folder's Schema.INI.
#pragma once

#include <string>
#include <vector>

namespace quorlin {

bool HasSchemaFile(const std::string& folder);

// Section names in alphabetical order without regard to case; empty without a schema file.
std::vector<std::string> ListSchemaSections(const std::string& folder);

// Erases the section from the folder's schema file; false when that failed.
bool DeleteSchemaSection(const std::string& folder, const std::string& section);

inline constexpr const char* kSectionRemovedMessage = "File removed from the Schema";
inline constexpr const char* kSectionNotRemovedMessage =
    "Could NOT remove this file from the Schema File";

}  // namespace quorlin
