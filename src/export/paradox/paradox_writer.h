// The Paradox table writer, through pxlib.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

inline constexpr const char* kParadoxLogName = "ErrorLog.txt";

std::unique_ptr<FormatWriter> MakeParadoxWriter(const ExportRequest& request);

}  // namespace quorlin
