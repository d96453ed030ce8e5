#include "calendar/holidays.h"

#include "calendar/civil_days.h"
#include "calendar/holiday_table.h"

namespace kelvo {
namespace {

// The generated rows keep the promises the lookup relies on: runs in date
// order without overlap, inside their year, naming a festival that exists.
constexpr bool RowsAreWellFormed() {
  using namespace holiday_table;
  for (int row = 0; row < static_cast<int>(YearRuns.size()); ++row) {
    const int year = FirstYear + row;
    const int daysInYear = civil::IsLeapYear(year) ? 366 : 365;
    int nextFree = 0;
    bool padding = false;
    for (const uint32_t run : YearRuns[row]) {
      const int first = static_cast<int>(run & 0x1FF);
      const int length = static_cast<int>(run >> 9 & 0xF);
      if (length == 0) {
        padding = true;
        continue;
      }
      if (padding || first < nextFree || first + length > daysInYear) return false;
      if ((run >> 13 & 0xF) >= FestivalNames.size() || run >> 18 != 0) return false;
      nextFree = first + length;
    }
  }
  return true;
}
static_assert(RowsAreWellFormed(), "tools/holiday_table.py wrote a malformed row");

}  // namespace

Holiday HolidayOf(Date date) {
  using namespace holiday_table;
  if (date.Year < FirstYear || date.Year > LastYear || !IsValidDate(date)) return {};
  const int dayOfYear =
      civil::DaysFromCivil(date.Year, date.Month, date.Day) - civil::DaysFromCivil(date.Year, 1, 1);
  for (const uint32_t run : YearRuns[date.Year - FirstYear]) {
    const int first = static_cast<int>(run & 0x1FF);
    const int length = static_cast<int>(run >> 9 & 0xF);
    if (length == 0) break;  // the row's padding: no more runs
    if (dayOfYear < first) break;
    if (dayOfYear >= first + length) continue;
    const HolidayMark mark = run >> 17 & 1 ? HolidayMark::Workday : HolidayMark::DayOff;
    return {mark, FestivalNames[run >> 13 & 0xF]};
  }
  return {};
}

std::string_view HolidayMarkText(HolidayMark mark) {
  switch (mark) {
    case HolidayMark::DayOff:
      return "休";
    case HolidayMark::Workday:
      return "班";
    case HolidayMark::None:
      break;
  }
  return {};
}

}  // namespace kelvo
