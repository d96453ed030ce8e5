#pragma once
#include <cstdint>
#include <vector>

#include "calendar/date.h"
#include "calendar/day_cell.h"
#include "calendar/holiday_file.h"

namespace kelvo {

// The cells of one shown month: a Monday-first grid of 35 or 42 cells.
struct MonthGrid {
  std::vector<DayCell> DayCells;
  int16_t CellCount = 0;
  int16_t DaysInMonth = 0;
};

// Pure: builds the grid of (year, month) with `today` marked. The window's
// BuildMonth stores the result and repaints.
//
// The calendar covers January 1950 to December 2050, but a system clock can
// ask for any month. Any year 1..9999 builds a full Gregorian grid: days the
// lunar table covers (1949-01-29 .. 2051-02-10) get their lunar texts and
// festivals as usual, other days get empty lunar texts and a Gregorian
// festival or an empty caption, and only years 1950..2050 have solar terms.
// Every cell, neighbour-month cells included, carries its 休/班 mark from
// `holidays` (none outside the years it covers).
// A month outside 1..12 or a year outside 1..9999 gives an empty grid
// (CellCount 0, DaysInMonth 0).
MonthGrid BuildMonthGrid(int16_t year, int16_t month, Date today,
                         const HolidaySchedule& holidays = HolidaySchedule());

// Writes the month's solar terms (and the next month's first term when it
// falls in a trailing cell) into the grid. lastLeadIndex is the index of the
// cell before the 1st (-1 when the month starts on a Monday). Years outside
// 1950..2050 get no terms, and nothing is written outside `cells`.
void FillSolarTerms(int16_t year, int16_t month, std::vector<DayCell>& cells, int16_t lastLeadIndex,
                    int16_t daysInMonth, int16_t trailCount);

}  // namespace kelvo
