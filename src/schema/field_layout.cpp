// The separator text of a layout and the generated field names.
#include "schema/field_layout.h"

#include "text/integer_text.h"

namespace quorlin {

std::string SeparatorText(const FileLayout& layout) {
  switch (layout.separator) {
    case SeparatorKind::Comma:
      return ",";
    case SeparatorKind::Tab:
      return "\t";
    case SeparatorKind::Space:
      return " ";
    case SeparatorKind::Custom:
      return layout.customSeparator.substr(0, 1);
    case SeparatorKind::Fixed:
      break;
  }
  return "";
}

std::string DefaultFieldName(long long number) { return "Field" + std::to_string(number); }

PreviewOptions PreviewOptionsFor(const FileLayout& layout, int numberingBase) {
  PreviewOptions options;
  options.separator = SeparatorText(layout);
  options.qualifier = layout.textQualifier;
  options.hasHeaderRow = layout.hasHeaderRow;
  options.startRow = ToInteger(layout.startRow);
  options.rowsToScan = ToInteger(layout.rowsToScan);
  options.numberingBase = numberingBase;
  return options;
}

FieldList DefaultFields(const std::vector<std::string>& names) {
  FieldList fields;
  fields.reserve(names.size());
  for (const std::string& name : names) {
    fields.push_back(FieldSpec{name, std::string(kUnknownType), "0", {}});
  }
  return fields;
}

}  // namespace quorlin
