// The Office Open XML workbook writer: one worksheet, values typed by the layout.
#pragma once

#include <memory>

#include "export/export_request.h"
#include "export/format_writer.h"

namespace quorlin {

inline constexpr std::int64_t kMaxXlsxRows = 1048576;
inline constexpr std::size_t kMaxXlsxColumns = 16384;
// The most characters a cell's text holds.
inline constexpr std::size_t kMaxXlsxText = 32767;

std::unique_ptr<FormatWriter> MakeXlsxWriter(const ExportRequest& request);

}  // namespace quorlin
