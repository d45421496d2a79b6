#include "export/binary_export_support.h"

#include <array>
#include <cstdio>
#include <stdexcept>

#include "support/test_files.h"

namespace quorlin::testing {

ExportField Field(std::string name, ExportFieldType type, std::int32_t length) {
  ExportField field;
  field.name = std::move(name);
  field.typeCode = type;
  field.length = length;
  field.decimals = type == ExportFieldType::Float ? 2 : 0;
  return field;
}

ExportRequest BinaryRequest(ExportFormat format, const std::string& input, const std::string& output,
                            ExportFields fields) {
  ExportRequest request;
  request.format = format;
  request.inputPath = input;
  request.outputPath = output;
  request.inputSeparator = ",";
  request.inputQualifier = "\"";
  request.fields = std::move(fields);
  request.recordLength = static_cast<std::int32_t>(TotalWidth(request.fields) + 1);
  request.now = DateTime{2002, 1, 1, 10, 0, 0, 0};
  request.locale = LocaleSettings{};
  return request;
}

std::string RunPython(const std::string& script, const std::string& argument) {
  TempDir dir;
  WriteBytes(dir.File("check.py"), script);
  return RunCommand("/usr/bin/python3 " + dir.File("check.py") + " '" + argument + "' 2>&1").out;
}

}  // namespace quorlin::testing
