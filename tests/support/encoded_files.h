// Sample files in other character sets, written by Python's codecs rather than by the code
// under test.
#pragma once

#include <string>

namespace quorlin::testing {

// Writes `text` (UTF-8 in the source) to `path` encoded by Python's codec `codec` ("cp1252",
// "cp850", "iso8859_15", "utf_16_le", "utf-16" with its mark, ...). Gives Python's complaint,
// empty when the file was written.
std::string WriteEncodedFile(const std::string& path, const std::string& text, const std::string& codec);

}  // namespace quorlin::testing
