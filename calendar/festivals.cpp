#include "calendar/festivals.h"

#include <array>
#include <limits>

#include "calendar/civil_days.h"

namespace kelvo {
namespace {

// Gregorian festivals by fixed date, in the order they are tried. A row
// with a from-year only counts from that year on.
struct SolarFestival {
  int16_t Month;
  int16_t Day;
  int16_t FromYear;
  std::string_view Name;
};
constexpr int16_t kAnyYear = std::numeric_limits<int16_t>::min();

constexpr std::array<SolarFestival, 39> kSolarFestivals = {{
    {1, 1, kAnyYear, "元旦"},      {2, 2, kAnyYear, "湿地日"},   {2, 14, kAnyYear, "情人节"},
    {3, 3, kAnyYear, "爱耳日"},    {3, 8, kAnyYear, "妇女节"},   {3, 12, kAnyYear, "植树节"},
    {3, 15, kAnyYear, "消权日"},   {3, 21, kAnyYear, "森林日"},  {4, 1, kAnyYear, "愚人节"},
    {5, 1, kAnyYear, "劳动节"},    {5, 4, kAnyYear, "青年节"},   {5, 12, kAnyYear, "护士节"},
    {5, 18, kAnyYear, "博物馆日"}, {6, 1, kAnyYear, "儿童节"},   {6, 5, kAnyYear, "环境日"},
    {6, 6, kAnyYear, "爱眼日"},    {7, 1, kAnyYear, "建党节"},   {8, 1, kAnyYear, "建军节"},
    {8, 8, kAnyYear, "爸爸节"},    {9, 8, kAnyYear, "扫盲日"},   {9, 10, kAnyYear, "教师节"},
    {9, 20, 1989, "爱牙日"},       {10, 1, kAnyYear, "国庆节"},  {10, 8, 1998, "高血压日"},
    {10, 14, 1947, "标准日"},      {10, 16, 1981, "粮食日"},     {10, 31, kAnyYear, "万圣节"},
    {11, 8, 2000, "记者日"},       {11, 9, 1992, "消防日"},      {11, 11, 1990, "光棍节"},
    {11, 14, 1991, "糖尿病日"},    {11, 17, 1946, "大学生节"},   {12, 1, 1988, "艾滋病日"},
    {12, 3, 1992, "残疾人日"},     {12, 4, 2001, "法制日"},      {12, 7, 1994, "民航日"},
    {12, 9, 1978, "足球日"},       {12, 24, kAnyYear, "平安夜"}, {12, 25, kAnyYear, "圣诞节"},
}};

// Lunar festivals; kLastDay matches the last day of the month, 29 or 30.
struct LunarFestival {
  int16_t Month;
  int16_t Day;
  std::string_view Name;
};
constexpr int16_t kLastDay = 0;

constexpr std::array<LunarFestival, 12> kLunarFestivals = {{
    {1, 1, "春节"},
    {1, 15, "元宵节"},
    {2, 2, "龙头节"},
    {5, 5, "端午节"},
    {7, 7, "七夕节"},
    {7, 15, "中元节"},
    {8, 15, "中秋节"},
    {9, 9, "重阳节"},
    {10, 15, "下元节"},
    {12, 8, "腊八节"},
    {12, kLastDay, "除夕"},
    {12, 23, "祭灶节"},
}};

// Row of kSolarFestivals for each month/day (-1: none), so a lookup is one
// index instead of a scan. Building it also proves that no two rows share a
// date, which is what makes the first match the only match.
using DayIndex = std::array<std::array<int8_t, 32>, 13>;
constexpr DayIndex BuildDayIndex() {
  DayIndex index{};
  for (auto& month : index) month.fill(-1);
  for (int row = 0; row < static_cast<int>(kSolarFestivals.size()); ++row) {
    int8_t& slot = index[kSolarFestivals[row].Month][kSolarFestivals[row].Day];
    if (slot != -1) throw "two Gregorian festivals share a date";
    slot = static_cast<int8_t>(row);
  }
  return index;
}
constexpr DayIndex kDayIndex = BuildDayIndex();

// The Sunday that is `weeksAfterFirst` weeks after the first Sunday of the month.
int NthSunday(int year, int month, int weeksAfterFirst) {
  const int weekday = civil::WeekdayFromMonday(civil::DaysFromCivil(year, month, 1));  // 0 = Mon
  const int firstSunday = 1 + (6 - weekday);
  return firstSunday + 7 * weeksAfterFirst;
}

}  // namespace

std::string_view GetSolarFestival(int16_t year, int16_t month, int16_t day) {
  if (month < 1 || month > 12 || day < 1 || day > 31) return {};
  std::string_view name;
  const int row = kDayIndex[month][day];
  if (row >= 0 && year >= kSolarFestivals[row].FromYear) name = kSolarFestivals[row].Name;
  // The Sunday rules are tried last and win over a fixed date.
  if (month == 5 && day == NthSunday(year, 5, 1)) name = "母亲节";
  if (month == 6 && day == NthSunday(year, 6, 2)) name = "父亲节";
  return name;
}

std::string_view GetLunarFestival(int16_t lunarMonth, int16_t lunarDay, int16_t monthLength) {
  if (lunarDay < 1) return {};
  for (const LunarFestival& festival : kLunarFestivals) {
    if (festival.Month != lunarMonth) continue;
    const bool dayMatches =
        festival.Day == kLastDay ? lunarDay == monthLength : lunarDay == festival.Day;
    if (dayMatches) return festival.Name;
  }
  return {};
}

}  // namespace kelvo
