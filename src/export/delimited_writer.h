// The comma, space, tab and other-character delimited text writer.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

// The values joined by `separator`; a value that contains the separator is wrapped in
// `qualifier`, nothing else is quoted or escaped. Appended to `line`.
void AppendJoined(std::string& line, const std::vector<std::string_view>& values,
                  std::string_view separator, std::string_view qualifier);
std::string JoinDelimited(const std::vector<std::string_view>& values, std::string_view separator,
                          std::string_view qualifier);

std::unique_ptr<FormatWriter> MakeDelimitedWriter(const ExportRequest& request);

}  // namespace quorlin
