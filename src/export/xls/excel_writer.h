// The Excel 97 workbook writer, "Excel ".
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

// The log of the values cut to fit a cell, beside the workbook; created for the first of them.
inline constexpr const char* kExcelLogName = "ErrorLog.txt";

std::unique_ptr<FormatWriter> MakeExcelWriter(const ExportRequest& request);

}  // namespace quorlin
