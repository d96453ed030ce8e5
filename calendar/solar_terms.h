#pragma once
// Dates of the 24 solar terms of the Gregorian years 1950..2050, decoded
// from SolarTermInfo. There is no row before 1950 or after 2050: those years
// have no terms.
#include <array>
#include <cstdint>
#include <optional>

#include "calendar/date.h"

namespace kelvo {

// The 24 term dates of the year (index = term number j), or empty outside
// 1950..2050.
std::optional<std::array<Date, 24>> SolarTermDates(int16_t year);

// The date of term j (0..23) of the year, or empty outside 1950..2050 or
// for a term number outside 0..23.
std::optional<Date> SolarTermDate(int16_t year, int term);

}  // namespace kelvo
