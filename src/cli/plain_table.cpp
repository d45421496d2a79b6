// Aligned tables and tab-separated field lines for standard output.
#include "cli/plain_table.h"

#include <algorithm>
#include <sstream>

#include "cli/json_text.h"

namespace quorlin {

std::size_t ShownWidth(std::string_view text) {
  return IsValidUtf8(text) ? Utf8CharacterCount(text) : text.size();
}

void WriteAlignedTable(std::ostream& out, const std::vector<const std::vector<std::string>*>& rows) {
  std::vector<std::size_t> widths;
  for (const auto* row : rows) {
    if (widths.size() < row->size()) widths.resize(row->size(), 0);
    for (std::size_t c = 0; c < row->size(); ++c) widths[c] = std::max(widths[c], ShownWidth((*row)[c]));
  }
  for (const auto* row : rows) {
    for (std::size_t c = 0; c < row->size(); ++c) {
      if (c > 0) out << "  ";
      out << (*row)[c];
      if (c + 1 < row->size()) out << std::string(widths[c] - ShownWidth((*row)[c]), ' ');
    }
    out << '\n';
  }
}

std::string AlignedTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<const std::vector<std::string>*> pointers;
  for (const auto& row : rows) pointers.push_back(&row);
  std::ostringstream table;
  WriteAlignedTable(table, pointers);
  return table.str();
}

std::string FieldLine(const FieldSpec& field) {
  std::string line = field.name + '\t' + field.typeName + '\t' + field.width;
  if (field.format && !field.format->empty()) line += '\t' + *field.format;
  return line + '\n';
}

}  // namespace quorlin
