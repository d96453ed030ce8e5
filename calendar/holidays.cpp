#include "calendar/holidays.h"

#include "calendar/civil_days.h"
#include "calendar/holiday_table.h"

namespace kelvo {
namespace {

// One run of holiday_table::YearRuns, unpacked.
struct Run {
  int First;   // day of the year, 0 = January 1
  int Length;  // 0 for an unused slot
  unsigned Festival;
  bool Workday;
  unsigned Spare;  // bits the layout leaves clear
};

constexpr Run Unpack(uint32_t run) {
  return {static_cast<int>(run & 0x1FF), static_cast<int>(run >> 9 & 0xF), run >> 13 & 0xF,
          (run >> 17 & 1) != 0, run >> 18};
}

// The generated rows keep the promises the lookup relies on: runs in date
// order without overlap, inside their year, naming a festival that exists.
constexpr bool RowsAreWellFormed() {
  using namespace holiday_table;
  for (size_t row = 0; row < YearRuns.size(); ++row) {
    const int daysInYear = civil::IsLeapYear(FirstYear + static_cast<int>(row)) ? 366 : 365;
    int nextFree = 0;
    bool padding = false;
    for (const uint32_t packed : YearRuns[row]) {
      const Run run = Unpack(packed);
      if (run.Length == 0) {
        padding = true;
        continue;
      }
      if (padding || run.First < nextFree || run.First + run.Length > daysInYear) return false;
      if (run.Festival >= FestivalNames.size() || run.Spare != 0) return false;
      nextFree = run.First + run.Length;
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
  for (const uint32_t packed : YearRuns[date.Year - FirstYear]) {
    const Run run = Unpack(packed);
    // Runs are in date order and the padding comes last.
    if (run.Length == 0 || dayOfYear < run.First) break;
    if (dayOfYear >= run.First + run.Length) continue;
    return {run.Workday ? HolidayMark::Workday : HolidayMark::DayOff, FestivalNames[run.Festival]};
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
