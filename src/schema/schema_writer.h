// Writing a layout as one section of a folder's Schema.INI.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/profile_file.h"
#include "schema/field_layout.h"

namespace quorlin {

// "CSVDelimited", "TABDelimited", "Delimited( )", "Delimited(c)" or "FixedLength".
std::string FormatValue(const FileLayout& layout);

// The text driver's type word: Long becomes Integer, DateTime and Time become Date; words
// containing "char" stay.
std::string OdbcTypeWord(const std::string& typeName);

// The name as a ColN entry holds it: in double quotes (each one in it doubled) when it holds a
// blank or begins with a double quote, so that it reads back whole; else as it is.
std::string QuotedEntryName(const std::string& name);

// "name type[ WIDTH w][ FMT f]" for the field at `number` (from 1); the format only in the
// extended form. A blank name is saved as "Field" + number.
std::string FieldEntry(const FieldSpec& field, std::size_t number, bool odbcOnly);

// Erases `section` and writes the layout's keys and one ColN entry per field. False when any
// write failed (the keys written before the failure stay).
bool SchemaFileWriter(ProfileFile& file, const std::string& section, const FileLayout& layout,
                      const FieldList& fields, bool odbcOnly);

// "Width for <name> has not been set" for the first Char or LongChar field (case as written)
// whose width is exactly "0".
std::optional<std::string> MissingWidthMessage(const FieldList& fields);

// The section name of a data file: the input box's text without its folder, trimmed, as
// every section name is stored and looked up.
std::string SectionNameFor(const std::string& inputBoxText);

struct SaveOutcome {
  bool written = false;
  bool refused = false;  // nothing was tried: the input file must not be saved from or into
  std::string message;   // what the window shows, lines joined with "\n"
};

void PrintTo(const SaveOutcome& outcome, std::ostream* out);

// Save To Schema into `folder`'s Schema.INI (found without regard to case, else created as
// "Schema.INI") for the input file `inputPath` (empty when there is none). Refused when the
// schema file is the input file, which is never written, or when the input file is UTF-16 or
// UTF-32 text, which nothing can be read from. A failed write says why after the message when
// there is more to say than that it failed. The width check is the caller's
// (MissingWidthMessage).
SaveOutcome SaveToSchema(const std::string& folder, const std::string& section,
                         const FileLayout& layout, const FieldList& fields, bool odbcOnly,
                         const std::string& inputPath);

}  // namespace quorlin
