// The dBase III table writer, "xBase (Generic)".
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

inline constexpr const char* kXBaseLogName = "ErrorLog.Txt";

std::unique_ptr<FormatWriter> MakeXBaseWriter(const ExportRequest& request);

}  // namespace quorlin
