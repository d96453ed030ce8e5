#pragma once
// Gregorian-to-lunar conversion over the span of LunarYearInfo,
// 1949-01-29 (正月初一 of lunar 1949) to 2051-02-10 (the last day of lunar
// 2050).
//
// Dates outside that span (or not real dates) have no lunar date: the
// conversion never reads past the tables for them. ConvertToLunar then
// empties the three lunar texts and gives the cell a Gregorian festival as
// its caption when it has none yet; otherwise the caption stays as it was
// (empty in a freshly built grid), so such a cell shows its Gregorian day
// with no lunar day name.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calendar/day_cell.h"

namespace kelvo {

// A date of the lunar calendar. Month is signed: -L is the leap month that
// follows month L.
struct LunarDate {
  int16_t Year = 0;
  int16_t Month = 0;
  int16_t Day = 0;
  int16_t MonthLength = 0;  // 29 or 30
};

// The months of one LunarYearInfo entry, in calendar order (a leap month
// sits right after the month it repeats).
struct LunarYearLayout {
  int16_t MonthCount = 0;                  // 12 or 13
  int16_t LeapMonth = 0;                   // L, or 0 when the year has no leap month
  std::array<int16_t, 13> MonthLengths{};  // 29 or 30; the 13th is 0 in a 12-month year
  int16_t DayCount = 0;
};
LunarYearLayout DecodeLunarYearInfo(int32_t info);

// Empty for dates outside 1949-01-29 .. 2051-02-10, the span of the tables.
std::optional<LunarDate> GregorianToLunar(int16_t year, int16_t month, int16_t day);

// One month of a lunar year: its first Gregorian day and its length.
struct LunarMonthSpan {
  Date First;
  int16_t Length = 0;  // 29 or 30
};
// Month `month` (signed as in LunarDate) of lunar year `year`, found from the
// year-start table without a walk through the years before it; empty for a
// year outside 1949..2050 or a leap month the year does not have.
std::optional<LunarMonthSpan> FindLunarMonth(int16_t year, int16_t month);
// The Gregorian date of a lunar date; empty when FindLunarMonth is, or the
// month has no such day.
std::optional<Date> LunarToGregorian(int16_t year, int16_t month, int16_t day);

// Fills the lunar texts of the cell and decides its caption (lunar festival,
// then a solar term already in LabelText, then Gregorian festival, then the
// lunar day name).
void ConvertToLunar(int16_t year, int16_t month, int16_t day, DayCell& cell);

// The stem-branch name of a year with "年", e.g. 甲辰年 for 2024.
std::string StemBranchYearText(int16_t year);
void AppendStemBranchYear(int16_t year, std::string& out);
// The zodiac animal of a year, e.g. 龙 for 2024 (same cycle as the branch).
std::string_view ZodiacOfYear(int16_t year);

}  // namespace kelvo
