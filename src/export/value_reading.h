// Numbers and dates in field values, read by the value recognisers' rules and the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/locale_settings.h"
#include "schema/number_reading.h"
#include "schema/value_recognisers.h"

namespace quorlin {

// The value of a number without a fractional part that lies within [minimum, maximum].
std::optional<std::int64_t> ReadWholeNumber(std::string_view text, const LocaleSettings& locale,
                                            std::int64_t minimum, std::int64_t maximum);

// The date (and time) of a text that IsDate accepts and that names a day; nothing for a time
// alone, which falls on the zero date, and for any other text.
std::optional<DateTime> ReadCalendarDate(std::string_view text, const LocaleSettings& locale);

}  // namespace quorlin
