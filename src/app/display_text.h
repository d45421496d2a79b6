// Data bytes as screen text, and file names as bytes.
#pragma once

#include <QString>
#include <string>

namespace quorlin {

// UTF-8 when the bytes are valid UTF-8, else Latin-1, so every byte shows as something.
QString DisplayText(const std::string& bytes);

// A file name as the file system spells it.
std::string PathBytes(const QString& path);

}  // namespace quorlin
