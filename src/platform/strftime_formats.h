// The locale's date and time layouts, read from the C library's strftime formats.
#pragma once

#include <string>
#include <string_view>

namespace quorlin {

// The short date format for a date format such as nl_langinfo(D_FMT) gives: "%d.%m.%Y" becomes
// "dd.MM.yyyy" and "%D" "MM/dd/yy". Empty when the format holds no day, month or year.
std::string ShortDateFormatFromStrftime(std::string_view format);

// The character between the first two fields of a short date format; "/" when there is none
// or it is not a single ASCII character.
char DateSeparatorOf(std::string_view shortDateFormat);

// The punctuation between hours and minutes of a time format such as nl_langinfo(T_FMT);
// ":" when it has none.
char TimeSeparatorFromStrftime(std::string_view format);

}  // namespace quorlin
