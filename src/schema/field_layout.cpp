// The separator text of a layout and the generated field names.
#include "schema/field_layout.h"

#include <ostream>

#include "text/field_mark.h"

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
      return std::string(LeadingCharacter(layout.customSeparator));
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
  options.startRow = layout.startRow.Value();
  options.rowsToScan = layout.rowsToScan.Value();
  options.numberingBase = numberingBase;
  options.characterSet = layout.characterSet;
  return options;
}

void PrintTo(SeparatorKind kind, std::ostream* out) {
  static constexpr const char* kNames[] = {"Comma", "Tab", "Space", "Custom", "Fixed"};
  *out << kNames[static_cast<int>(kind)];
}

void PrintTo(const FieldSpec& field, std::ostream* out) {
  *out << '{' << field.name << ' ' << field.typeName << " width " << field.width;
  if (field.format) *out << " format \"" << *field.format << '"';
  *out << '}';
}

void PrintTo(const FileLayout& layout, std::ostream* out) {
  *out << '{';
  PrintTo(layout.separator, out);
  if (layout.separator == SeparatorKind::Custom) *out << " \"" << layout.customSeparator << '"';
  *out << " qualifier \"" << layout.textQualifier << '"' << (layout.hasHeaderRow ? " header" : "")
       << " start " << layout.startRow.Text() << " rows " << layout.rowsToScan.Text() << " length "
       << layout.fixedLength.Text() << ' ' << layout.characterSet.Name();
  if (layout.conventions != FileConventions{}) {
    *out << ' ';
    PrintTo(layout.conventions, out);
  }
  *out << '}';
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
