// Running an export: the checks, the counting pass, the header line, progress and errors.
#pragma once

#include "export/export_request.h"
#include "export/export_result.h"
#include "export/format_writer.h"
#include "export/output_files.h"

namespace quorlin {

// Refuses an output or log file that is the input (by path or link) before anything is
// written; opens and counts the input, rewinds it and has the writer open its files, then
// cuts every record for it. Failing to open the input or to create a file raises FileError;
// any error after that returns Failed with its message, and the files are closed either way.
// An input whose line count changes between the two passes fails the export.
ExportResult RunExport(const ExportRequest& request, FormatWriter& writer, OutputFiles& files);

}  // namespace quorlin
