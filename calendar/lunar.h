#pragma once
#include <cstdint>
#include <optional>

#include "calendar/day_cell.h"

namespace kelvo {

// A date of the lunar calendar. Month is signed: -L is the leap month that
// follows month L.
struct LunarDate {
  int16_t Year = 0;
  int16_t Month = 0;
  int16_t Day = 0;
  int16_t MonthLength = 0;  // 29 or 30
};

// Empty for dates outside 1949-01-29 .. 2051-02-10, the span of the tables.
std::optional<LunarDate> GregorianToLunar(int16_t year, int16_t month, int16_t day);

// Fills the lunar texts of the cell and decides its caption (lunar festival,
// then a solar term already in LabelText, then Gregorian festival, then the
// lunar day name).
void ConvertToLunar(int16_t year, int16_t month, int16_t day, DayCell& cell);

}  // namespace kelvo
