#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "calendar/holidays.h"
#include "calendar/rect.h"

namespace kelvo {

// One square of the month grid: the engine fills the texts and marks, the
// face painter sets CellRect, the mouse handlers hit-test it.
struct DayCell {
  Rect CellRect;
  std::string DayText;         // "1" .. "31"
  std::string DateText;        // "yyyy-mm-dd"
  std::string LunarYearText;   // e.g. 甲辰年
  std::string LunarMonthText;  // e.g. 正月, 闰二月
  std::string LunarDayText;    // 初一 .. 三十
  std::string LabelText;       // festival, solar term or lunar day name
  bool IsOtherMonth = false;
  bool IsFestivalOrTerm = false;
  bool IsToday = false;
  HolidayMark Holiday = HolidayMark::None;  // 休 or 班 in the public-holiday schedule
  std::string HolidayFestival;              // what the mark is for, e.g. 国庆节
  // The user's own days falling on this date: names as written, and the
  // date panel's lines ("妈妈生日 · 70岁"); empty when none.
  std::vector<std::string> OwnDayNames;
  std::vector<std::string> OwnDayLines;
};

}  // namespace kelvo
