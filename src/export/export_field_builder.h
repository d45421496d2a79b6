// The descriptors of an export, read from the input file's saved section of Schema.INI.
#pragma once

#include <cstddef>
#include <string>

#include "export/export_field.h"
#include "export/export_format.h"

namespace quorlin {

// The Schema.INI and section that hold the saved layout of `inputPath` (a relative path is
// taken from the current folder).
struct SavedSection {
  std::string schemaPath;
  std::string section;
};
SavedSection SavedSectionOf(const std::string& inputPath);

// The entries Col1, Col2, ... before the first missing one (or one holding "na"), however
// many: a format that cannot hold them all refuses the export.
std::size_t CountSchemaColumns(const std::string& inputPath);

// One descriptor per counted entry, each cut at its blanks with `qualifierText` (the input
// qualifier box as it stands). With `fixedInput` every entry needs a whole-number width as its
// fourth token; otherwise a Char-group entry without one gets the length 254. Raises
// SchemaError naming the schema file, the section and the entry, before anything is written:
//   Schema.INI [stock.dat] Col2: the entry "Field2 Char" has no width
//   Schema.INI [stock.dat] Col2: the width "12abc" is not a whole number
ExportFields BuildExportFields(const std::string& inputPath, const std::string& qualifierText,
                               bool fixedInput, ExportFormat format);

}  // namespace quorlin
