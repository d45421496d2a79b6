// The comma, space, tab and other-character delimited text writer.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

std::unique_ptr<FormatWriter> MakeDelimitedWriter(const ExportRequest& request);

}  // namespace quorlin
