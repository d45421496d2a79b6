#include "export/export_format.h"

namespace quorlin {

ExportFormat FormatAtIndex(long index) {
  if (index < 0) return ExportFormat::CommaDelimited;
  if (index >= kExportFormatCount) return kExportFormats.back().format;
  return static_cast<ExportFormat>(index);
}

std::optional<ExportFormat> FormatFromCommandWord(std::string_view word) {
  for (const ExportFormatInfo& info : kExportFormats) {
    if (info.commandWord == word) return info.format;
  }
  return std::nullopt;
}

bool IsDelimitedFormat(ExportFormat format) {
  return FormatIndex(format) <= FormatIndex(ExportFormat::OtherDelimiter);
}

std::string OutputSeparatorFor(ExportFormat format, const std::string& otherChar) {
  switch (format) {
    case ExportFormat::CommaDelimited: return ",";
    case ExportFormat::SpaceDelimited: return " ";
    case ExportFormat::TabDelimited: return "\t";
    case ExportFormat::OtherDelimiter: return otherChar;
    default: return "";
  }
}

std::string WithFormatExtension(const std::string& fileName, ExportFormat format) {
  const std::size_t slash = fileName.rfind('/');
  const std::size_t dot = fileName.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? fileName.substr(0, dot) : fileName) + std::string(FormatInfo(format).extension);
}

}  // namespace quorlin
