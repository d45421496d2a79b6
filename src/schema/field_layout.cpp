// The separator text of a layout and the generated field names.
#include "schema/field_layout.h"

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

}  // namespace quorlin
