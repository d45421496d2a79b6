// Requests and independent readers for the binary writers' tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/export_request.h"
#include "support/run_command.h"

namespace quorlin::testing {

ExportField Field(std::string name, ExportFieldType type, std::int32_t length = 0);

// A request for `format` from `input` into `output`, comma-separated, with a fixed clock and
// the C locale's settings.
ExportRequest BinaryRequest(ExportFormat format, const std::string& input, const std::string& output,
                            ExportFields fields);

// Runs Debian's python3 on `script` with `argument`; its standard output.
std::string RunPython(const std::string& script, const std::string& argument);

}  // namespace quorlin::testing
