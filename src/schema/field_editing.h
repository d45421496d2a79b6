// The rules of the field editor: widths by type, ADD's checks, Delete in a fixed layout.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/locale_settings.h"
#include "schema/field_layout.h"

namespace quorlin {

// Character types (any type text containing "char" in any case) carry a width.
bool IsCharacterType(const std::string& typeText);

// Whether the date-format editor shows for a type: "date" or "time" in the type text while
// the ODBC-only restriction is off.
bool TypeTakesDateFormat(const std::string& typeText, bool odbcOnly);

// The greatest untrimmed length of the non-blank cells of `column` in the preview's data
// rows, or -1 when there is none.
long long LongestColumnValue(const std::vector<std::vector<std::string>>& rows,
                             std::size_t column);

// The width box's text after the type changed: character types and every field of a fixed
// layout keep their width, or take `longest` when the box holds 0; other types get "0".
std::string WidthAfterTypeChange(const std::string& typeText, const std::string& widthBox,
                                 bool fixedLayout, long long longest);

// ADD's check: name, type, width, start row and rows to scan not blank, and the last three
// numeric.
bool CanAddField(const std::string& name, const std::string& typeText, const std::string& width,
                 const std::string& startRow, const std::string& rowsToScan,
                 const LocaleSettings& locale);

// Removes field `index`. In a fixed layout its width goes to the field before it (to the one
// after it when the first field goes), so the record length stays the same. Returns the index
// of the field whose width grew, or -1. Widths that are not whole numbers count as 0.
long long DeleteField(FieldList& fields, std::size_t index, bool fixedLayout);

}  // namespace quorlin
