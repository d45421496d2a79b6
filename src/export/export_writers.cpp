#include "export/export_writers.h"

#include "export/delimited_writer.h"
#include "export/excel_writer.h"
#include "export/export_driver.h"
#include "export/export_paths.h"
#include "export/html_writer.h"
#include "export/paradox_writer.h"
#include "export/parquet/parquet_writer.h"
#include "export/sql_writer.h"
#include "export/xbase_writer.h"
#include "export/xml_writer.h"

namespace quorlin {

std::unique_ptr<FormatWriter> MakeFormatWriter(const ExportRequest& request) {
  switch (request.format) {
    case ExportFormat::CommaDelimited:
    case ExportFormat::SpaceDelimited:
    case ExportFormat::TabDelimited:
    case ExportFormat::OtherDelimiter:
      return MakeDelimitedWriter(request);
    case ExportFormat::XBase:
      return MakeXBaseWriter(request);
    case ExportFormat::Paradox:
      return MakeParadoxWriter(request);
    case ExportFormat::Excel:
      return MakeExcelWriter(request);
    case ExportFormat::HtmlTable:
      return MakeHtmlWriter(request);
    case ExportFormat::Xml:
      return MakeXmlWriter(request);
    case ExportFormat::Parquet:
      return MakeParquetWriter(request);
    case ExportFormat::SqlSchema:
      break;
  }
  return MakeSqlWriter(request);
}

ExportResult ExportFile(const ExportRequest& request, OutputFiles& files) {
  ExportRequest resolved = request;
  resolved.inputPath = AbsoluteFilePath(request.inputPath);
  resolved.outputPath = AbsoluteFilePath(request.outputPath);
  const std::unique_ptr<FormatWriter> writer = MakeFormatWriter(resolved);
  return RunExport(resolved, *writer, files);
}

ExportResult ExportFile(const ExportRequest& request) {
  DiskOutputFiles files;
  return ExportFile(request, files);
}

}  // namespace quorlin
