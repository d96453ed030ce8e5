// The calendar data as the face shows it: every cell of every month, pinned
// by one digest, the days worth naming written out, and whatever a system
// clock set anywhere can ask for.
#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"

namespace kelvo {
namespace {

// FNV-1a over every field of every cell from 1949 to 2051: the 1212 months
// the calendar shows and the months at the tables' ends.
TEST(EveryMonth, CellsMatchTheirRecordedDigest) {
  uint64_t digest = 14695981039346656037u;
  const auto add = [&digest](std::string_view text) {
    for (const char c : text) digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
    digest = (digest ^ '\n') * 1099511628211u;
  };
  for (int16_t year = 1949; year <= 2051; ++year) {
    for (int16_t month = 1; month <= 12; ++month) {
      const MonthGrid grid = BuildMonthGrid(year, month, Date{});
      add(std::to_string(grid.CellCount) + " " + std::to_string(grid.DaysInMonth));
      for (const DayCell& c : grid.DayCells) {
        for (const std::string* text : {&c.DateText, &c.DayText, &c.LunarYearText,
                                        &c.LunarMonthText, &c.LunarDayText, &c.LabelText}) {
          add(*text);
        }
        add(std::string{c.IsOtherMonth ? 'o' : '-', c.IsFestivalOrTerm ? 'm' : '-',
                        c.IsToday ? 't' : '-'});
      }
    }
  }
  EXPECT_EQ(digest, 9051172006123769578u) << "compare kelvo-month --tsv before and after";
}

struct ShapeCase {
  int16_t Year, Month;
  int CellCount, DaysInMonth;
  const char *FirstDate, *LastDate;
  Date Today;
  int TodayIndex;  // -1: not shown
};

TEST(MonthGrid, RunsFromTheMondayBeforeTheFirstOverFiveOrSixWeeksAndMarksToday) {
  // clang-format off
  constexpr ShapeCase cases[] = {
      {2021, 2, 35, 28, "2021-02-01", "2021-03-07", {2021, 3, 7}, 34},  // starts on a Monday
      {2024, 2, 35, 29, "2024-01-29", "2024-03-03", {2024, 2, 10}, 12},
      {2024, 12, 42, 31, "2024-11-25", "2025-01-05", {2024, 12, 32}, -1},
      {2100, 2, 35, 28, "2100-02-01", "2100-03-07", {2100, 2, 1}, 0},  // clocks past 2050 ...
      {1, 1, 35, 31, "0001-01-01", "0001-02-04", {1, 1, 3}, 2},
      {9999, 12, 35, 31, "9999-11-29", "10000-01-02", {}, -1}};  // ... or before 1950
  // clang-format on
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Year << "-" << c.Month);
    const MonthGrid grid = BuildMonthGrid(c.Year, c.Month, c.Today);
    EXPECT_EQ(grid.CellCount, c.CellCount);
    EXPECT_EQ(grid.DaysInMonth, c.DaysInMonth);
    ASSERT_EQ(grid.DayCells.size(), static_cast<size_t>(c.CellCount));
    EXPECT_EQ(grid.DayCells.front().DateText, c.FirstDate);
    EXPECT_EQ(grid.DayCells.back().DateText, c.LastDate);
    for (int i = 0; i < grid.CellCount; ++i) EXPECT_EQ(grid.DayCells[i].IsToday, i == c.TodayIndex);
  }
}

// A day as the face shows it in the grid of GridYear-GridMonth (0: its own
// month). Lunar is the year, month and day texts run together.
struct DayCase {
  const char *Date, *Lunar, *Caption;
  bool Marked;  // shown in the festival colour
  int16_t GridYear = 0, GridMonth = 0;
};

TEST(MonthGrid, DaysShowTheirLunarDateAndCaption) {
  // clang-format off
  const DayCase cases[] = {
      // Lunar new years, and the ends of the lunar table.
      {"1949-01-29", "己丑年正月初一", "春节", 1}, {"1949-01-28", "", "", 0},
      {"1950-02-16", "己丑年腊月三十", "除夕", 1}, {"1950-02-17", "庚寅年正月初一", "春节", 1},
      {"2051-02-10", "庚午年腊月廿九", "除夕", 1}, {"2051-02-11", "", "", 0},
      // Leap months; the month after one keeps its number; no festival inside one.
      {"2023-03-22", "癸卯年闰二月初一", "初一", 0}, {"2023-04-20", "癸卯年三月初一", "谷雨", 1},
      {"2033-12-22", "癸丑年闰十一月初一", "初一", 0}, {"2025-01-28", "甲辰年腊月廿九", "除夕", 1},
      {"2028-05-28", "戊申年五月初五", "端午节", 1}, {"2028-06-27", "戊申年闰五月初五", "初五", 0},
      // A lunar festival beats a term, which beats a Gregorian festival.
      {"2019-02-04", "戊戌年腊月三十", "除夕", 1}, {"2030-06-05", "庚戌年五月初五", "端午节", 1},
      {"2020-06-21", "庚子年五月初一", "夏至", 1},   // and 父亲节
      // Mother's Day (second Sunday of May) beats 护士节; festivals with a first year.
      {"2019-05-12", "己亥年四月初八", "母亲节", 1}, {"2025-05-12", "乙巳年四月十五", "护士节", 1},
      {"1988-09-20", "戊辰年八月初十", "初十", 0}, {"1989-09-20", "己巳年八月廿一", "爱牙日", 1},
      // Solar terms, among them those mended to the astronomical dates.
      {"2019-04-20", "己亥年三月十六", "谷雨", 1}, {"2019-05-21", "己亥年四月十七", "小满", 1},
      {"2019-06-21", "己亥年五月十九", "夏至", 1}, {"2019-09-23", "己亥年八月廿五", "秋分", 1},
      {"2019-12-07", "己亥年十一月十二", "大雪", 1}, {"1955-09-24", "乙未年八月初九", "秋分", 1},
      {"2031-05-06", "辛亥年闰三月十五", "立夏", 1}, {"2033-05-21", "癸丑年四月廿三", "小满", 1},
      {"1949-12-25", "己丑年十一月初六", "圣诞节", 1},  // no solar-term row before 1950
      // Beyond the lunar table only Gregorian festivals are named.
      {"1900-01-01", "", "元旦", 1}, {"1900-02-02", "", "湿地日", 1, 1900, 1},
      {"10000-01-01", "", "元旦", 1, 9999, 12},
      // Neighbour-month cells carry their texts, festivals and the next month's first term.
      {"2021-03-05", "辛丑年正月廿二", "惊蛰", 1, 2021, 2},
      {"1950-02-04", "己丑年腊月十八", "立春", 1, 1950, 1},
      {"2025-01-05", "甲辰年腊月初六", "小寒", 1, 2024, 12},
      {"2051-01-01", "庚午年十一月十九", "元旦", 1, 2050, 12},
      {"2024-03-03", "甲辰年正月廿三", "爱耳日", 1, 2024, 2}};
  // clang-format on
  for (const DayCase& c : cases) {
    SCOPED_TRACE(c.Date);
    const bool own = c.GridYear == 0;
    const Date date = own ? ParseIsoDate(c.Date).value() : Date{c.GridYear, c.GridMonth, 1};
    const std::vector<DayCell> cells = BuildMonthGrid(date.Year, date.Month, Date{}).DayCells;
    const auto cell =
        std::find_if(cells.begin(), cells.end(), [&](auto& d) { return d.DateText == c.Date; });
    ASSERT_NE(cell, cells.end());
    EXPECT_EQ(cell->LunarYearText + cell->LunarMonthText + cell->LunarDayText, c.Lunar);
    EXPECT_EQ(cell->LabelText, c.Caption);
    EXPECT_EQ(cell->IsFestivalOrTerm, c.Marked);
    EXPECT_EQ(cell->IsOtherMonth, !own);
  }
}

// Under AddressSanitizer/UBSan this also shows that no argument, however
// wrong, reads outside a table or overflows.
TEST(OutOfRange, AnyArgumentsGiveACleanResultAndImpossibleMonthsAnEmptyGrid) {
  const int16_t edges[] = {-32768, -1, 0,    1,    2,    12,   13,   28,    29,
                           30,     31, 1948, 1949, 2050, 2051, 9999, 10000, 32767};
  for (int16_t year : edges) {
    for (int16_t month : edges) {
      SCOPED_TRACE(::testing::Message() << year << "-" << month);
      const MonthGrid grid = BuildMonthGrid(year, month, Date{year, month, 1});
      if (year >= 1 && year <= 9999 && month >= 1 && month <= 12) {
        EXPECT_TRUE(grid.CellCount == 35 || grid.CellCount == 42);
      } else {
        EXPECT_EQ(grid.CellCount + grid.DaysInMonth, 0);
      }
      EXPECT_EQ(grid.DayCells.size(), static_cast<size_t>(grid.CellCount));
      for (int16_t day : edges) {
        DayCell cell;
        ConvertToLunar(year, month, day, cell);
        if (!IsValidDate({year, month, day})) {
          EXPECT_EQ(cell.LunarYearText + cell.LunarMonthText + cell.LunarDayText, "");
          EXPECT_EQ(cell.LabelText, "");
          EXPECT_FALSE(cell.IsFestivalOrTerm);
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelvo
