#include "export/export_choices.h"

#include "export/export_field_builder.h"
#include "text/record_splitter.h"

namespace quorlin {

std::string QualifierFromBox(const std::string& box) { return box == "{none}" ? "" : box; }

std::string TitleFromBox(std::string text) {
  for (char& c : text) {
    if (c == ' ') c = '_';
  }
  return text;
}

std::variant<ExportCheckFailure, ExportRequest> PrepareExport(const ExportChoices& choices,
                                                              const ExportContext& context) {
  if (Trim(choices.inputPath).empty()) return ExportCheckFailure{kNoInputFileMessage};
  if (Trim(choices.outputPath).empty()) return ExportCheckFailure{kNoOutputFileMessage};
  if (choices.format == ExportFormat::SqlSchema && Trim(choices.title).empty()) {
    return ExportCheckFailure{kNoTitleMessage};
  }
  // A saved section that cannot be read or used raises its own error (FileError, SchemaError),
  // which stops the export like any other error rather than passing for a missing section.
  const SavedSection saved = choices.savedLayout.value_or(SavedSectionOf(choices.inputPath));
  if (CountSchemaColumns(saved) == 0) return ExportCheckFailure{kNoSavedFieldsMessage};
  ExportRequest request;
  request.fields = BuildExportFields(saved, choices.fixedInput, choices.format);
  FileConventions conventions = SavedConventions(saved);
  if (!choices.conventions.dateOrder.empty()) conventions.dateOrder = choices.conventions.dateOrder;
  if (!choices.conventions.decimalSymbol.empty()) conventions.decimalSymbol = choices.conventions.decimalSymbol;
  request.locale = WithConventions(context.locale, conventions);
  request.format = choices.format;
  request.inputPath = choices.inputPath;
  request.outputPath = choices.outputPath;
  request.recordLength = static_cast<std::int32_t>(TotalWidth(request.fields) + 1);
  request.inputSeparator = choices.inputSeparator;
  request.inputQualifier = choices.fixedInput ? "" : QualifierFromBox(choices.inputQualifierBox);
  request.outputSeparator = OutputSeparatorFor(choices.format, choices.otherChar);
  request.outputQualifier = QualifierFromBox(choices.outputQualifierBox);
  request.hasHeaderRow = choices.hasHeaderRow;
  request.includeHeaderRow = choices.includeHeaderRow;
  request.includeFieldNames = choices.includeFieldNames;
  request.title = choices.title;
  request.translateSpecialChars = choices.translateSpecialChars;
  request.fixedInput = choices.fixedInput;
  request.rowsPerFile = choices.rowsPerFile;
  request.compression = choices.compression;
  request.currencyAsDecimal = choices.currencyAsDecimal;
  request.now = context.now;
  request.monthNames = context.monthNames;
  request.lineEnd = choices.lineEnd;
  request.sqlDialect = choices.sqlDialect;
  request.toStandardOutput = choices.toStandardOutput;
  return request;
}

const char* ResultMessage(const ExportResult& result) {
  return result.Exported() ? kExportedMessage : kExportFailedMessage;
}

bool WarnsAfter(ExportFormat format, const ExportResult& result) {
  return result.Exported() && FormatInfo(format).warnsAfterSuccess;
}

std::optional<std::string> ExportStartRefusal(const FieldList& fields) {
  if (fields.empty()) return kNoStructureDefinedMessage;
  for (const FieldSpec& field : fields) {
    if (field.typeName.find("Char") != std::string::npos && field.width == "0") {
      return "Width for " + field.name + " has not been set";
    }
    if (field.typeName.find("Unknown") != std::string::npos) {
      return "Field " + field.name + " not specified";
    }
  }
  return std::nullopt;
}

}  // namespace quorlin
