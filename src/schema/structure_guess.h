// Guess Field Types: types (and character widths) for delimited fields, whole field lists
// from the ruler's breaks for fixed-length files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_settings.h"
#include "schema/field_layout.h"
#include "text/fixed_ruler.h"

namespace quorlin {

// Gives every field still typed "Unknown" a type voted from the preview's data rows (`rows`,
// one cell per column; field k reads column k), and a Char field the width of its longest
// cell: in bytes, or in characters for text decoded from a single-byte set, where each is one
// byte of the file. Fields of any other type keep their type. A blank name (an empty title
// between two separators) becomes "Field" + the field's number counted from `numberingBase`.
void GuessDelimitedFields(FieldList& fields, const std::vector<std::vector<std::string>>& rows,
                          const LocaleSettings& locale, int numberingBase,
                          FixedUnit widthUnit = FixedUnit::Bytes);

// What a delimited Char width counts for a file in `set`: its characters where each is one byte
// of the file, else its bytes.
FixedUnit DelimitedWidthUnit(const CharacterSet& set);

// What the fixed-length guess works from: the data file, the ruler and the layout's numbers.
struct FixedGuessRequest {
  std::string path{};
  BreakModel breaks{};        // the ruler's flags and the count "Fixed Fields" shows
  long long lineLength = 0;   // the ruler's record length
  bool hasHeaderRow = false;  // names come from line 1
  std::string qualifier = "\"";
  long long startRow = 1;
  long long rowsToScan = 25;
  int numberingBase = 1;
  CharacterSet characterSet{};
};

struct FixedGuess {
  FieldList fields;                     // replaces the whole field list
  std::optional<std::string> refusal;   // the message shown instead; nothing is to change
};

// The line (from 1) whose values a fixed-length guess starts from: a start row above 1 skips
// that many lines (not one less), a title one more.
long long FixedFirstDataLine(const FixedGuessRequest& request);

// The breaks a guess cuts at: set flags before the record length, ascending.
std::vector<int> GuessBreakPositions(const BreakModel& breaks, long long lineLength);

// One field per slice between the breaks, named from the title line or by number, typed from
// lines of the data file. Refuses when the breaks disagree with the ruler's count, or when
// comma-separated titles are not one per field. Raises FileError when the file cannot be read.
FixedGuess GuessFixedFields(const FixedGuessRequest& request, const LocaleSettings& locale);

}  // namespace quorlin
