// The JSON Lines writer: one JSON object per record, its values typed by the layout.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

std::unique_ptr<FormatWriter> MakeJsonLinesWriter(const ExportRequest& request);

}  // namespace quorlin
