// A data file as the main window shows it after Refresh, or after opening it from the schema list.
#pragma once

#include <ostream>
#include <string>

#include "cli/cli_options.h"
#include "schema/field_layout.h"
#include "text/fixed_ruler.h"
#include "text/preview_loader.h"

namespace quorlin {

// Where a data file's saved layout lives.
struct SchemaPlace {
  std::string folder;      // the data file's folder, with a trailing "/"
  std::string schemaPath;  // that folder's Schema.INI
  std::string section;     // the data file's name
};

SchemaPlace SchemaPlaceFor(const std::string& dataPath);

struct FileView {
  FileLayout layout;  // for a fixed layout, fixedLength holds the ruler's line length
  int numberingBase = 1;
  FieldList fields;   // the default fields of Refresh, or the saved ones

  PreviewTable table;  // delimited layouts

  long long lineLength = 0;  // fixed layout: the ruler
  RulerScan ruler;
  BreakModel breaks;

  bool IsFixed() const { return layout.separator == SeparatorKind::Fixed; }
};

// Loads the file with the layout the arguments give. Raises CliError, FileError and
// SchemaError; a saved number that is not whole stops the work naming the schema file.
FileView OpenFileView(const std::string& dataPath, const LayoutArguments& arguments);

// What the preview or the ruler left out, one line each after the file's name.
void PrintCutMessages(const std::string& dataPath, const FileView& view, std::ostream& err);

}  // namespace quorlin
