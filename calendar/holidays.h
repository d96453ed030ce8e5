#pragma once
#include <cstdint>
#include <string_view>

#include "calendar/date.h"

namespace kelvo {

// A day's place in the State Council's public-holiday schedule.
enum class HolidayMark : uint8_t {
  None,
  DayOff,   // 休: an official holiday
  Workday,  // 班: a weekend day worked to make up for one
};

struct Holiday {
  HolidayMark Mark = HolidayMark::None;
  std::string_view Festival;  // the festival the mark belongs to, e.g. 国庆节; empty with None
};

// The published schedule of the years the table holds (2004 to 2026 today);
// any other date, invalid ones included, has no mark.
Holiday HolidayOf(Date date);

// "休", "班", or empty for None.
std::string_view HolidayMarkText(HolidayMark mark);

}  // namespace kelvo
