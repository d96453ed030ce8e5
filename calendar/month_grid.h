#pragma once
#include <cstdint>
#include <vector>

#include "calendar/date.h"
#include "calendar/day_cell.h"

namespace kelvo {

// The cells of one shown month: a Monday-first grid of 35 or 42 cells.
struct MonthGrid {
  std::vector<DayCell> DayCells;
  int16_t CellCount = 0;
  int16_t DaysInMonth = 0;
};

// Pure: builds the grid of (year, month) with `today` marked. The window's
// BuildMonth stores the result and repaints.
MonthGrid BuildMonthGrid(int16_t year, int16_t month, Date today);

// Writes the month's solar terms (and the next month's first term when it
// falls in a trailing cell) into the grid. lastLeadIndex is the index of the
// cell before the 1st (-1 when the month starts on a Monday).
void FillSolarTerms(int16_t year, int16_t month, std::vector<DayCell>& cells,
                    int16_t lastLeadIndex, int16_t daysInMonth, int16_t trailCount);

}  // namespace kelvo
