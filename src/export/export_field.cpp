#include "export/export_field.h"

#include <ostream>

namespace quorlin {

std::int64_t TotalWidth(const ExportFields& fields) {
  std::int64_t total = 0;
  for (const ExportField& field : fields) total += field.length;
  return total;
}

std::optional<std::string> WiderTextFieldThan(const ExportFields& fields, std::int32_t most, std::string_view format) {
  for (const ExportField& field : fields) {
    if (field.typeCode == ExportFieldType::Char && field.length > most) {
      return "The field " + field.name + " is " + std::to_string(field.length) + " characters wide; a " +
             std::string(format) + " field holds at most " + std::to_string(most);
    }
  }
  return std::nullopt;
}

void PrintTo(ExportFieldType type, std::ostream* out) { *out << '"' << TypeName(type) << '"'; }

void PrintTo(const ExportField& field, std::ostream* out) {
  *out << "{name \"" << field.name << "\", type ";
  PrintTo(field.typeCode, out);
  *out << ", inputWidth " << field.inputWidth << ", length " << field.length << ", decimals "
       << field.decimals << ", format \"" << field.format << "\"}";
}

}  // namespace quorlin
