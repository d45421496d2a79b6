// Text output for people: aligned tables and field lines.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "schema/field_layout.h"

namespace quorlin {

// Characters a terminal shows for `text`: code points of valid UTF-8, else bytes.
std::size_t ShownWidth(std::string_view text);

// The rows, one line each, cells padded to their column's width and two blanks apart; the
// last cell of a line is not padded. Written straight to `out`, so that a preview's large
// cells are not copied again.
void WriteAlignedTable(std::ostream& out, const std::vector<const std::vector<std::string>*>& rows);
std::string AlignedTable(const std::vector<std::vector<std::string>>& rows);

// "name\ttype\twidth[\tformat]\n"; an empty format is left out.
std::string FieldLine(const FieldSpec& field);

}  // namespace quorlin
