// How a writer reports values it had to cut to fit their fields.
#pragma once

#include <cstdint>
#include <string>

#include "export/export_result.h"

namespace quorlin {

// What a log line says of a value of the field `fieldName` cut to `length` characters.
std::string CutValueText(const std::string& fieldName, std::int64_t length);

// Counts `count` cut values into `result`; any cut fails the export, with a message naming
// the log that lists them.
void NoteCutValues(ExportResult& result, std::int64_t count, const std::string& logPath);

}  // namespace quorlin
