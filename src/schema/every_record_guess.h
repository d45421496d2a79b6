// Guess Field Types from every record of a file rather than its first rows, for
// files whose first rows do not show the range of their values (ids that pass 255 after a
// while, a text that grows longer on line 90,000).
#pragma once

#include <string>

#include "platform/locale_settings.h"
#include "schema/field_layout.h"
#include "schema/structure_guess.h"

namespace quorlin {

// Reads the file as a stream, one record at a time, from the layout's first data line to the
// end, and gives every field still typed "Unknown" the narrowest type that holds each of its
// values that is not blank: the widest whole-number type seen, Float when numbers with a
// fraction were seen too (Currency when only amounts were), Date, Time or DateTime when every
// value is one, Bit when every value is a true or false word, and otherwise Char as wide as
// the longest value. Fields of any other type are left alone. Raises FileError when the file
// cannot be read.
void GuessDelimitedFieldsFromEveryRecord(FieldList& fields, const std::string& path, const FileLayout& layout,
                                         const LocaleSettings& locale);

// The fields of a fixed-length file as GuessFixedFields gives them (between the ruler's breaks,
// as wide as those, with the same names and refusals), each typed by the same rule from every
// record, read as a stream from the first data line to the end. Raises FileError when the file
// cannot be read.
FixedGuess GuessFixedFieldsFromEveryRecord(const FixedGuessRequest& request, const LocaleSettings& locale);

}  // namespace quorlin
