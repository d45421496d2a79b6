// Reading a saved layout back from a Schema.INI section.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/profile_file.h"
#include "schema/field_layout.h"

namespace quorlin {

// A saved entry that cannot be used, e.g. a fixed-length width that is not a whole number;
// the message names the section, the entry and the value.
class SchemaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file-level keys of a section, defaults applied.
struct SavedLayout {
  SeparatorKind separator = SeparatorKind::Comma;
  std::string customSeparator;
  bool hasHeaderRow = false;
  std::string fixedLength = "80";
  std::string rowsToScan = "25";
  FileConventions conventions;  // empty where the section has no DateTimeFormat or DecimalSymbol

  bool operator==(const SavedLayout&) const = default;
};

void PrintTo(const SavedLayout& saved, std::ostream* out);

// False when the section has no Col1 entry.
bool SectionHasFields(const ProfileFile& file, const std::string& section);
// section + "has no associated fields"
std::string NoFieldsMessage(const std::string& section);
inline constexpr const char* kNoStructureMessage = "No Structure Found in INI File";

SavedLayout ReadSavedLayout(const ProfileFile& file, const std::string& section);

// `layout` with the saved keys applied as opening a listed file sets the controls: a header
// row also puts "1" in the start row.
FileLayout WithSavedLayout(FileLayout layout, const SavedLayout& saved);

// Col1, Col2, ... up to 1024 entries, each as name, type, WIDTH w[, FMT f]. Raises SchemaError
// for an entry without a whole, non-negative width that fits in an int, naming the file, the
// section, the entry and the value:
//   Schema.INI [stock.dat] Col2: the entry "Field2 Char" has no width
//   Schema.INI [stock.dat] Col2: the width "12abc" is not a whole number
//   Schema.INI [stock.dat] Col2: the width "99999999999" is too large
//   Schema.INI [stock.dat] Col2: the width "-5" is negative
FieldList ReadFixedFields(const ProfileFile& file, const std::string& section);

// At most `columns` entries (the preview's column count), each as name, type and an optional
// WIDTH or FMT pair. Every field gets an empty format entry; a keyword without a value after
// it is passed over. A WIDTH that is not a whole, non-negative number fitting in an int raises
// SchemaError as ReadFixedFields does.
FieldList ReadDelimitedFields(const ProfileFile& file, const std::string& section, std::size_t columns);

// The widths of a fixed layout as numbers (entries already checked by ReadFixedFields); a
// width that is not plain digits fitting in an int counts as 0.
std::vector<long long> FieldWidths(const FieldList& fields);

}  // namespace quorlin
