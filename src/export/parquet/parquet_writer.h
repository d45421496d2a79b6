// The Parquet writer: one file, or a folder of part files that engines read as one table.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"
#include "export/parquet/parquet_file.h"

namespace quorlin {

inline constexpr const char* kParquetLogName = "ParquetLog.txt";

std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request);
// With the sizes of row groups and pages given, so that small inputs can have many.
std::unique_ptr<FormatWriter> MakeParquetWriter(const ExportRequest& request, parquet::FileLimits limits);

}  // namespace quorlin
