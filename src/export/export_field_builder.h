// The descriptors of an export, read from the input file's saved section of Schema.INI.
#pragma once

#include <cstddef>
#include <string>

#include "export/export_field.h"
#include "export/export_format.h"
#include "schema/file_conventions.h"
#include "schema/saved_section.h"

namespace quorlin {

// The entries Col1, Col2, ... of the input file's saved section before the first missing one
// (or one holding "na"), however many. Raises FileError when its Schema.INI cannot be read.
std::size_t CountSchemaColumns(const std::string& inputPath);
std::size_t CountSchemaColumns(const SavedSection& saved);

// The date order and decimal symbol the saved section names, empty where it leaves them to the
// locale.
FileConventions SavedConventions(const SavedSection& saved);

// One descriptor per counted entry, each cut at its blanks as every ColN entry is cut. With `fixedInput` every entry needs a whole-number width as its
// fourth token; otherwise a Char-group entry without WIDTH gets the length 254. A width that
// cannot be used raises SchemaError before anything is written, with the schema library's
// messages (CheckedWidth, FixedEntryWidth).
ExportFields BuildExportFields(const std::string& inputPath, bool fixedInput, ExportFormat format);
// The same from a section kept anywhere, such as a layout given on the command line.
ExportFields BuildExportFields(const SavedSection& saved, bool fixedInput, ExportFormat format);

}  // namespace quorlin
