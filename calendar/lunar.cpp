#include "calendar/lunar.h"

#include <algorithm>
#include <cstdlib>

#include "calendar/civil_days.h"
#include "calendar/festivals.h"
#include "calendar/tables.h"

namespace kelvo {
namespace {

constexpr int kLunarYears = static_cast<int>(LunarYearInfo.size());

constexpr bool HasLeapMonth(int32_t info) {
  return info >= 4095;
}
constexpr int MonthCount(int32_t info) {
  return HasLeapMonth(info) ? 13 : 12;
}
// Position p (1-based) is bit (count - p): the first month is the highest bit.
constexpr int MonthLength(int32_t info, int position) {
  return 29 + ((info >> (MonthCount(info) - position)) & 1);
}
// 29 days per month plus one for every 30-day month.
constexpr int YearLength(int32_t info) {
  int thirtyDayMonths = 0;
  for (int bit = 0; bit < MonthCount(info); ++bit) thirtyDayMonths += (info >> bit) & 1;
  return 29 * MonthCount(info) + thirtyDayMonths;
}

// Day numbers (days since 1970-01-01) of the first day of every lunar year
// of the table, plus the day after the last one, so a date is found by one
// search instead of a walk through all the years before it.
constexpr std::array<int32_t, kLunarYears + 1> ComputeYearStarts() {
  std::array<int32_t, kLunarYears + 1> starts{};
  starts[0] = civil::DaysFromCivil(1949, 1, 29);
  for (int i = 0; i < kLunarYears; ++i) starts[i + 1] = starts[i] + YearLength(LunarYearInfo[i]);
  return starts;
}
constexpr auto kYearStarts = ComputeYearStarts();
// The chain ends with 2051-02-10, the last day of lunar 2050.
static_assert(kYearStarts.back() == civil::DaysFromCivil(2051, 2, 11));
static_assert(kYearStarts[1] == civil::DaysFromCivil(1950, 2, 17));

constexpr int PositiveMod(int value, int divisor) {
  const int r = value % divisor;
  return r < 0 ? r + divisor : r;
}

void ClearLunarTexts(DayCell& cell) {
  cell.LunarYearText.clear();
  cell.LunarMonthText.clear();
  cell.LunarDayText.clear();
}

}  // namespace

LunarYearLayout DecodeLunarYearInfo(int32_t info) {
  LunarYearLayout layout;
  layout.MonthCount = static_cast<int16_t>(MonthCount(info));
  layout.LeapMonth = static_cast<int16_t>(HasLeapMonth(info) ? info >> 16 : 0);
  for (int position = 1; position <= layout.MonthCount; ++position) {
    layout.MonthLengths[position - 1] = static_cast<int16_t>(MonthLength(info, position));
  }
  layout.DayCount = static_cast<int16_t>(YearLength(info));
  return layout;
}

std::optional<LunarDate> GregorianToLunar(int16_t year, int16_t month, int16_t day) {
  const Date date{year, month, day};
  if (!IsValidDate(date)) return std::nullopt;
  const int32_t dayNumber = civil::DaysFromCivil(year, month, day);
  if (dayNumber < kYearStarts.front() || dayNumber >= kYearStarts.back()) return std::nullopt;

  const int index =
      static_cast<int>(std::upper_bound(kYearStarts.begin(), kYearStarts.end(), dayNumber) -
                       kYearStarts.begin()) -
      1;
  const int32_t info = LunarYearInfo[index];
  int offset = dayNumber - kYearStarts[index];  // 0-based day within the lunar year
  int position = 1;
  int length = MonthLength(info, position);
  while (offset >= length) {
    offset -= length;
    ++position;
    length = MonthLength(info, position);
  }

  int signedMonth = position;
  if (HasLeapMonth(info)) {
    const int leap = info >> 16;
    if (position == leap + 1) {
      signedMonth = -leap;
    } else if (position > leap + 1) {
      signedMonth = position - 1;
    }
  }
  return LunarDate{static_cast<int16_t>(FirstLunarTableYear + index),
                   static_cast<int16_t>(signedMonth), static_cast<int16_t>(offset + 1),
                   static_cast<int16_t>(length)};
}

std::optional<LunarMonthSpan> FindLunarMonth(int16_t year, int16_t month) {
  const int index = year - FirstLunarTableYear;
  if (index < 0 || index >= kLunarYears || month == 0 || std::abs(month) > 12) return std::nullopt;
  const int32_t info = LunarYearInfo[index];
  const int leap = HasLeapMonth(info) ? info >> 16 : 0;
  if (month < 0 && -month != leap) return std::nullopt;
  // Positions count the leap month after the month it repeats.
  const int position = month < 0 ? leap + 1 : leap && month > leap ? month + 1 : month;
  int32_t first = kYearStarts[index];
  for (int p = 1; p < position; ++p) first += MonthLength(info, p);
  return LunarMonthSpan{CivilFromDays(first), static_cast<int16_t>(MonthLength(info, position))};
}

std::optional<Date> LunarToGregorian(int16_t year, int16_t month, int16_t day) {
  const std::optional<LunarMonthSpan> span = FindLunarMonth(year, month);
  if (!span || day < 1 || day > span->Length) return std::nullopt;
  return AddDays(span->First, day - 1);
}

std::string_view ZodiacOfYear(int16_t year) {
  return ZodiacNames[PositiveMod(year - 4, 12)];
}

std::string StemBranchYearText(int16_t year) {
  std::string text;
  AppendStemBranchYear(year, text);
  return text;
}

void AppendStemBranchYear(int16_t year, std::string& out) {
  const int cycle = PositiveMod(year - 4, 60);
  out.append(StemNames[cycle % 10]).append(BranchNames[cycle % 12]).append("年");
}

void ConvertToLunar(int16_t year, int16_t month, int16_t day, DayCell& cell) {
  const std::optional<LunarDate> lunar = GregorianToLunar(year, month, day);
  if (!lunar) {
    // Outside the lunar table there is nothing to say about the lunar date;
    // the cell still shows a Gregorian festival when it has no caption yet.
    ClearLunarTexts(cell);
    if (cell.LabelText.empty()) {
      const std::string_view festival = GetSolarFestival(year, month, day);
      if (!festival.empty()) {
        cell.LabelText.assign(festival);
        cell.IsFestivalOrTerm = true;
      }
    }
    return;
  }

  cell.LunarYearText.clear();
  AppendStemBranchYear(lunar->Year, cell.LunarYearText);
  cell.LunarMonthText.clear();
  if (lunar->Month < 0) cell.LunarMonthText.append("闰");
  cell.LunarMonthText.append(LunarMonthNames[std::abs(lunar->Month) - 1]).append("月");
  const std::string_view dayName = LunarDayNames[lunar->Day - 1];
  cell.LunarDayText.assign(dayName);

  // Caption: a lunar festival beats everything, a solar term already placed
  // beats a Gregorian festival, and the lunar day name fills what is left.
  const std::string_view lunarFestival =
      GetLunarFestival(lunar->Month, lunar->Day, lunar->MonthLength);
  if (!lunarFestival.empty()) {
    cell.LabelText.assign(lunarFestival);
    cell.IsFestivalOrTerm = true;
    return;
  }
  if (!cell.LabelText.empty()) return;  // a solar term keeps its place
  const std::string_view solarFestival = GetSolarFestival(year, month, day);
  if (!solarFestival.empty()) {
    cell.LabelText.assign(solarFestival);
    cell.IsFestivalOrTerm = true;
    return;
  }
  cell.LabelText.assign(dayName);
}

}  // namespace kelvo
