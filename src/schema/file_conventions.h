// How a file writes its dates and decimals: the layout's own choice, or the locale's.
#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/locale_settings.h"

namespace quorlin {

// The date orders a layout can name, as its section saves them (key "DateTimeFormat").
inline constexpr std::array<std::string_view, 3> kDateOrders = {"dd/mm/yyyy", "mm/dd/yyyy", "yyyy-mm-dd"};
// The decimal symbols a layout can name (key "DecimalSymbol").
inline constexpr std::array<std::string_view, 2> kDecimalSymbols = {".", ","};

// Empty values leave the choice to the locale, as a section without the keys does.
struct FileConventions {
  std::string dateOrder;      // one of kDateOrders, or empty
  std::string decimalSymbol;  // one of kDecimalSymbols, or empty

  bool operator==(const FileConventions&) const = default;
};

// The recognisers' settings for a file: `locale` with the file's own date order and decimal
// symbol where it names them. The separators between the parts of a date stay the locale's.
LocaleSettings WithConventions(LocaleSettings locale, const FileConventions& conventions);

// What sample values tell of the file's conventions: a date whose first part is above 12 is
// day first, whose second part is above 12 month first, whose first part has four digits year
// first; a number like 1.234,56 or 12,5 has a decimal comma, one like 1,234.56 or 12.5 a
// decimal point. A value that cannot tell (03/04/2002, 1.234) counts for nothing, and values
// that disagree leave that choice empty.
FileConventions ProposeConventions(const std::vector<std::vector<std::string>>& rows);

void PrintTo(const FileConventions& conventions, std::ostream* out);

}  // namespace quorlin
