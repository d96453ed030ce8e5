#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "calendar/day_cell.h"
#include "calendar/holiday_file.h"
#include "calendar/own_days.h"
#include "calendar/rect.h"

namespace kelvo {

// One announcement entry drawn in the date panel.
struct AnnouncementLink {
  Rect LinkRect;
  std::string LinkTitle;
  std::string LinkUrl;
};

// Every value the calendar window's handlers share. Platform objects (menu,
// tray icon, cursor, pictures, hook) live beside it in the Win32 window.
struct CalendarState {
  std::vector<DayCell> DayCells;
  int16_t CellCount = 0;
  int16_t DaysInMonth = 0;
  int16_t ShownYear = 0;
  int16_t ShownMonth = 0;
  int16_t SelectedDay = 0;
  int32_t HoverCell = -1;
  int32_t PressedDay = 0;
  std::string PanelYearText;
  std::string PanelLunarText;
  std::string PanelDateText;
  std::string PanelHolidayText;  // e.g. 国庆节 · 休; empty when the selected day has no mark
  std::string PanelOwnDayText;   // e.g. 妈妈生日 · 70岁; empty when the selected day has none
  std::vector<AnnouncementLink> AnnouncementLinks;
  int32_t LinkCount = 0;
  // The 休/班 marks the cells carry: the built-in table, with the holiday
  // file the program holds applied over it.
  HolidaySchedule Holidays;
  // The user's own days the cells mark, as the days file holds them.
  std::vector<OwnDay> OwnDays;
  bool UpdateChecked = false;
  uint32_t LastNetTry = 0;
};

}  // namespace kelvo
