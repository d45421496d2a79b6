// The Excel 97 workbook writer, "Excel ".
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

std::unique_ptr<FormatWriter> MakeExcelWriter(const ExportRequest& request);

}  // namespace quorlin
