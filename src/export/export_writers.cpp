#include "export/export_writers.h"

#include "export/dbf/xbase_writer.h"
#include "export/delimited/delimited_writer.h"
#include "export/export_paths.h"
#include "export/html/html_writer.h"
#include "export/json_lines/json_lines_writer.h"
#include "export/paradox/paradox_writer.h"
#include "export/parquet/parquet_writer.h"
#include "export/pipeline/export_driver.h"
#include "export/pipeline/standard_output_files.h"
#include "export/sql/sql_writer.h"
#include "export/xls/excel_writer.h"
#include "export/xlsx/xlsx_writer.h"
#include "export/xml/xml_writer.h"

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
    case ExportFormat::Xlsx:
      return MakeXlsxWriter(request);
    case ExportFormat::JsonLines:
      return MakeJsonLinesWriter(request);
    case ExportFormat::SqlSchema:
      break;
  }
  return MakeSqlWriter(request);
}

std::optional<std::string> LogFileOf(const ExportRequest& request) {
  switch (request.format) {
    case ExportFormat::SqlSchema: return BesideOutput(AbsoluteFilePath(request.outputPath), kSqlLogName);
    case ExportFormat::XBase: return BesideOutput(AbsoluteFilePath(request.outputPath), kXBaseLogName);
    case ExportFormat::Paradox: return BesideOutput(AbsoluteFilePath(request.outputPath), kParadoxLogName);
    default: return std::nullopt;
  }
}

ExportResult ExportFile(const ExportRequest& request, OutputFiles& files) {
  ExportRequest resolved = request;
  resolved.inputPath = AbsoluteFilePath(request.inputPath);
  resolved.outputPath = AbsoluteFilePath(request.outputPath);
  const std::unique_ptr<FormatWriter> writer = MakeFormatWriter(resolved);
  return RunExport(resolved, *writer, files);
}

ExportResult ExportFile(const ExportRequest& request) {
  if (request.toStandardOutput) {
    StandardOutputFiles files(AbsoluteFilePath(request.outputPath));
    return ExportFile(request, files);
  }
  DiskOutputFiles files;
  return ExportFile(request, files);
}

}  // namespace quorlin
