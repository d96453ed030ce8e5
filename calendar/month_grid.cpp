#include "calendar/month_grid.h"

#include <charconv>

#include "calendar/civil_days.h"
#include "calendar/lunar.h"
#include "calendar/solar_terms.h"
#include "calendar/tables.h"

namespace kelvo {
namespace {

constexpr int16_t kFirstGridYear = 1;
constexpr int16_t kLastGridYear = 9999;

void MarkTerm(std::vector<DayCell>& cells, int index, int term) {
  // The caller's counts could disagree with the cells; never write outside them.
  if (index < 0 || index >= static_cast<int>(cells.size())) return;
  cells[index].LabelText.assign(SolarTermNames[term]);
  cells[index].IsFestivalOrTerm = true;
}

void WriteDayText(int day, std::string& out) {
  char digits[4];
  const auto result = std::to_chars(digits, digits + sizeof digits, day);
  out.assign(digits, result.ptr);
}

}  // namespace

void FillSolarTerms(int16_t year, int16_t month, std::vector<DayCell>& cells, int16_t lastLeadIndex,
                    int16_t daysInMonth, int16_t trailCount) {
  if (month < 1 || month > 12) return;
  const std::optional<std::array<Date, 24>> terms = SolarTermDates(year);
  if (!terms) return;  // no row for this year: the month shows no terms

  // The month's own two terms.
  for (int term = 2 * month - 2; term <= 2 * month - 1; ++term) {
    MarkTerm(cells, lastLeadIndex + (*terms)[term].Day, term);
  }

  // The next month's first term, when it falls on one of the trailing cells.
  // For December it comes from the next year's row; December 2050 has none
  // (its single trailing cell, 2051-01-01, precedes any 小寒 anyway).
  const int nextTerm = month == 12 ? 0 : 2 * month;
  const std::optional<Date> next =
      month == 12 ? SolarTermDate(static_cast<int16_t>(year + 1), 0) : (*terms)[nextTerm];
  if (next && next->Day <= trailCount) {
    MarkTerm(cells, lastLeadIndex + daysInMonth + next->Day, nextTerm);
  }
}

MonthGrid BuildMonthGrid(int16_t year, int16_t month, Date today, const HolidaySchedule& holidays) {
  MonthGrid grid;
  if (month < 1 || month > 12 || year < kFirstGridYear || year > kLastGridYear) return grid;

  const int32_t first = civil::DaysFromCivil(year, month, 1);
  const int leadCount = civil::WeekdayFromMonday(first);
  const int daysInMonth = civil::DaysInMonth(year, month);
  const int cellCount = leadCount + daysInMonth <= 35 ? 35 : 42;
  const int trailCount = cellCount - leadCount - daysInMonth;

  grid.CellCount = static_cast<int16_t>(cellCount);
  grid.DaysInMonth = static_cast<int16_t>(daysInMonth);
  grid.DayCells.resize(cellCount);
  FillSolarTerms(year, month, grid.DayCells, static_cast<int16_t>(leadCount - 1),
                 static_cast<int16_t>(daysInMonth), static_cast<int16_t>(trailCount));

  const bool todayValid = IsValidDate(today);
  const int32_t todayNumber = todayValid ? DaysFromCivil(today) : 0;
  char dateText[kIsoDateBufferSize];
  for (int i = 0; i < cellCount; ++i) {
    DayCell& cell = grid.DayCells[i];
    const int32_t dayNumber = first + (i - leadCount);
    const civil::YearMonthDay ymd = civil::CivilFromDays(dayNumber);
    const Date date{static_cast<int16_t>(ymd.Year), static_cast<int16_t>(ymd.Month),
                    static_cast<int16_t>(ymd.Day)};
    cell.IsToday = todayValid && dayNumber == todayNumber;
    cell.DateText.assign(dateText, FormatIsoDate(date, dateText));
    WriteDayText(date.Day, cell.DayText);
    cell.IsOtherMonth = date.Month != month;
    ConvertToLunar(date.Year, date.Month, date.Day, cell);
    const Holiday holiday = holidays.Of(date);
    cell.Holiday = holiday.Mark;
    cell.HolidayFestival = holiday.Festival;
  }
  return grid;
}

}  // namespace kelvo
