// Values read by their field's type, as the typed formats write them: workbooks, JSON Lines
// and the SQL of a database take numbers, ISO dates and valid UTF-8 rather than the bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "export/export_field.h"
#include "platform/locale_settings.h"
#include "schema/value_recognisers.h"

namespace quorlin {

// The room PutIsoDateTime takes at most: a year of up to eleven characters and the rest.
inline constexpr std::size_t kLongestIsoDateTime = 11 + 15;

// What of a date value a field keeps: a Time field its time, a Date field its day (and the
// time too when there is one), a Datetime field both.
enum class DateParts { Day, Time, DayAndTime };
DateParts DatePartsOf(ExportFieldType type, const DateTime& value);

// `value` in decimal at `out` (room for 24 or `width` + 1): zeros after the sign up to `width`
// digits, or blanks in front up to `width` characters when `pad` is ' '; gives the end.
char* PutPaddedDecimal(char* out, long long value, int width, char pad = '0');

// "yyyy-mm-dd", "HH:MM:SS" or "yyyy-mm-dd HH:MM:SS" (with `between` for the blank) at `out`;
// gives the end.
char* PutIsoDateTime(char* out, const DateTime& value, DateParts parts, char between = ' ');

// Whether the code is one of the number types.
bool IsNumberType(ExportFieldType type);

// `trimmed` as a number in the form JSON and SQL read (an optional "-", digits without
// leading zeros, "." and digits, an exponent), written at `out` with room for its size plus
// two bytes; nothing, with nothing written, when it is not a plain number by the locale's
// decimal separator (nor by ".", when the locale has another one).
std::optional<char*> PutPlainNumber(char* out, std::string_view trimmed, const LocaleSettings& locale);

// `bytes` at `out` (room for three times their size) with every byte that starts no valid
// UTF-8 character replaced by U+FFFD, adding the number replaced to `replaced`; gives the end.
char* PutValidUtf8(char* out, std::string_view bytes, std::size_t& replaced);

// `bytes` as the inside of a JSON string at `out` (room for six times their size): quotes,
// backslashes and control characters escaped, invalid UTF-8 bytes as U+FFFD, counted in
// `replaced`; gives the end.
char* PutJsonStringBody(char* out, std::string_view bytes, std::size_t& replaced);
inline constexpr std::size_t kMostJsonBytesPerByte = 6;

}  // namespace quorlin
