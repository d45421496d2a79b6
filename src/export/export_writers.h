// The writer of each export format, and the one call that exports a request.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "export/export_request.h"
#include "export/export_result.h"
#include "export/format_writer.h"
#include "export/pipeline/output_files.h"

namespace quorlin {

// The writer for `request.format`.
std::unique_ptr<FormatWriter> MakeFormatWriter(const ExportRequest& request);

// The log of rejected values the format's writer keeps beside the output, or nothing.
std::optional<std::string> LogFileOf(const ExportRequest& request);

// Exports `request` into `files`: on disk beside each other by default, or to the standard
// output and error when the request says so. Raises FileError as RunExport does.
ExportResult ExportFile(const ExportRequest& request, OutputFiles& files);
ExportResult ExportFile(const ExportRequest& request);

}  // namespace quorlin
