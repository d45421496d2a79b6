// Running an export: the checks, the counting pass, the header line, progress and errors.
#pragma once

#include "export/export_request.h"
#include "export/export_result.h"
#include "export/format_writer.h"
#include "export/pipeline/output_files.h"

namespace quorlin {

// The longest input line an export takes as a record; a longer one fails the export, so that
// memory stays bounded by one record.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{64} << 20;

// Refuses files that clash (OutputFilesRefusal) before anything is written; opens and counts
// the input, rewinds it and has the writer open its files, then cuts every record for it.
// Failing to open the input or to create a file raises FileError; any error after that returns
// Failed with its message. The files are kept only when the writer finished without stopping
// early; otherwise they are discarded and what was there before stays. An input whose line
// count changes between the two passes fails the export.
ExportResult RunExport(const ExportRequest& request, FormatWriter& writer, OutputFiles& files);

}  // namespace quorlin
