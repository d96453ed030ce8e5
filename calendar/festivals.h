#pragma once
#include <cstdint>
#include <string_view>

namespace kelvo {

// Name of the Gregorian festival of the date, or empty.
std::string_view GetSolarFestival(int16_t year, int16_t month, int16_t day);
// Name of the lunar festival; lunarMonth is negative inside a leap month.
std::string_view GetLunarFestival(int16_t lunarMonth, int16_t lunarDay, int16_t monthLength);

}  // namespace kelvo
