// Today's date on the user's clock, for texts that carry the date they were made.
#pragma once

#include <chrono>

namespace quorlin {

// Today in the local time zone.
std::chrono::year_month_day LocalToday();

}  // namespace quorlin
