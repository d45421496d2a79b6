// The HTML table writer: one page with a heading and one table row per record.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

std::unique_ptr<FormatWriter> MakeHtmlWriter(const ExportRequest& request);

}  // namespace quorlin
