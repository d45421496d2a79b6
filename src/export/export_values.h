// The value helpers writers share: fixed-length cutting, true words and markup-safe text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_field.h"
#include "text/fixed_fields.h"

namespace quorlin {

// The values of one input line; they point into that line and stay valid until the next.
using RecordValues = std::vector<std::string_view>;

// One value per field, each the next `inputWidth` bytes or characters of `line` (fewer at its
// end, empty past it; a width of 0 or less takes nothing). Nothing is trimmed; what follows
// the last field is ignored.
void CutFixedRecord(std::string_view line, const ExportFields& fields, RecordValues& values,
                    FixedUnit unit = FixedUnit::Bytes);

// True for TRUE, T, YES, Y, ON or 1, false for FALSE, F, NO, N, OFF or 0, in any letter case,
// once trimmed; nothing for any other value.
std::optional<bool> TruthOf(std::string_view value);
// TRUE, T, YES, Y, ON or 1, in any letter case, once trimmed.
bool IsTrueWord(std::string_view value);

// The trimmed value with "&", "<" and ">" as entities and every character above 127 as a
// numeric reference to its code point: a valid UTF-8 sequence gives one reference, any other
// byte is taken as a Latin-1 character. Control characters XML cannot hold are dropped.
std::string TranslateSpecialChars(std::string_view value);
// PutTranslated (export/translated_text.h) writes the same in place.

// The title as pages and documents show it: the title box turns blanks into "_", and every
// "_" becomes a blank again.
std::string ShownTitle(std::string_view title);

}  // namespace quorlin
