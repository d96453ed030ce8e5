// Months and dates beyond the tables: a system clock can be set anywhere.
// These cells show their Gregorian day, empty lunar texts and no term.
#include <gtest/gtest.h>

#include <limits>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"

namespace kelvo {
namespace {

constexpr int16_t kLowest = std::numeric_limits<int16_t>::min();
constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();

TEST(OutOfRangeConversion, DatesBeyondTheTableOrImpossibleHaveNoLunarDate) {
  // clang-format off
  constexpr Date dates[] = {
      {1949, 1, 28}, {2051, 2, 11}, {1900, 1, 1}, {9999, 12, 31},  // beyond the table
      {kLowest, 1, 1}, {kHighest, 12, 31},
      {2024, 2, 30}, {2023, 2, 29}, {2024, 0, 1}, {2024, 13, 1},  // impossible
      {2024, 1, 0}, {2024, kLowest, kHighest}};
  // clang-format on
  for (const Date& d : dates) {
    EXPECT_FALSE(GregorianToLunar(d.Year, d.Month, d.Day).has_value()) << FormatIsoDate(d);
  }
}

TEST(OutOfRangeConversion, EmptiesTheLunarTextsAndGivesOnlyAGregorianFestival) {
  DayCell cell;
  cell.LunarYearText = "甲辰年";
  cell.LunarMonthText = "正月";
  cell.LunarDayText = "初一";
  ConvertToLunar(1900, 1, 1, cell);
  EXPECT_EQ(cell.LunarYearText, "");
  EXPECT_EQ(cell.LunarMonthText, "");
  EXPECT_EQ(cell.LunarDayText, "");
  EXPECT_EQ(cell.LabelText, "元旦");
  EXPECT_TRUE(cell.IsFestivalOrTerm);
  for (const Date d : {Date{2051, 2, 11}, Date{1949, 1, 28}, Date{2024, 13, 40},
                       Date{kLowest, kLowest, kLowest}, Date{kHighest, kHighest, kHighest}}) {
    DayCell plain;
    ConvertToLunar(d.Year, d.Month, d.Day, plain);
    EXPECT_EQ(plain.LunarYearText, "") << FormatIsoDate(d);
    EXPECT_EQ(plain.LunarDayText, "");
    EXPECT_EQ(plain.LabelText, "");
    EXPECT_FALSE(plain.IsFestivalOrTerm);
  }
}

TEST(OutOfRangeGrid, MonthBefore1950ShowsGregorianDaysWithoutLunarTexts) {
  const MonthGrid grid = BuildMonthGrid(1900, 1, Date{1900, 1, 15});
  EXPECT_EQ(grid.CellCount, 35);  // 1900-01-01 was a Monday
  EXPECT_EQ(grid.DaysInMonth, 31);
  EXPECT_EQ(grid.DayCells[0].DateText, "1900-01-01");
  EXPECT_EQ(grid.DayCells[0].DayText, "1");
  EXPECT_EQ(grid.DayCells[0].LabelText, "元旦");
  EXPECT_TRUE(grid.DayCells[0].IsFestivalOrTerm);
  EXPECT_TRUE(grid.DayCells[14].IsToday);
  EXPECT_EQ(grid.DayCells[32].DateText, "1900-02-02");
  EXPECT_EQ(grid.DayCells[32].LabelText, "湿地日");
  for (int i = 0; i < grid.CellCount; ++i) {
    const DayCell& cell = grid.DayCells[i];
    EXPECT_EQ(cell.LunarYearText, "");
    EXPECT_EQ(cell.LunarMonthText, "");
    EXPECT_EQ(cell.LunarDayText, "");
    if (i != 0 && i != 32) {
      EXPECT_EQ(cell.LabelText, "") << cell.DateText;
      EXPECT_FALSE(cell.IsFestivalOrTerm);
    }
  }
}

TEST(OutOfRangeGrid, December1949HasLunarTextsButNoTerms) {
  // The lunar table starts in January 1949; the solar-term table in 1950.
  const MonthGrid grid = BuildMonthGrid(1949, 12, Date{});
  EXPECT_EQ(grid.CellCount, 35);
  for (const DayCell& cell : grid.DayCells) {
    EXPECT_FALSE(cell.LunarDayText.empty()) << cell.DateText;
    EXPECT_NE(cell.LabelText, "大雪");
    EXPECT_NE(cell.LabelText, "冬至");
    EXPECT_NE(cell.LabelText, "小寒");
  }
  EXPECT_EQ(grid.DayCells[24 + 3].DateText, "1949-12-25");
  EXPECT_EQ(grid.DayCells[24 + 3].LabelText, "圣诞节");
}

TEST(OutOfRangeGrid, February2051StopsTheLunarTextsAfterTheTenth) {
  const MonthGrid grid = BuildMonthGrid(2051, 2, Date{});
  const int lead = 2;  // 2051-02-01 is a Wednesday
  EXPECT_EQ(grid.DayCells[lead + 9].DateText, "2051-02-10");
  EXPECT_EQ(grid.DayCells[lead + 9].LunarMonthText, "腊月");
  EXPECT_EQ(grid.DayCells[lead + 9].LunarDayText, "廿九");
  EXPECT_EQ(grid.DayCells[lead + 9].LabelText, "除夕");
  EXPECT_EQ(grid.DayCells[lead + 10].DateText, "2051-02-11");
  EXPECT_EQ(grid.DayCells[lead + 10].LunarDayText, "");
  EXPECT_EQ(grid.DayCells[lead + 10].LabelText, "");
  EXPECT_EQ(grid.DayCells[lead + 13].LabelText, "情人节");
}

TEST(OutOfRangeGrid, FarYearsBuildFullGregorianGrids) {
  const MonthGrid first = BuildMonthGrid(1, 1, Date{});
  EXPECT_EQ(first.DayCells.front().DateText, "0001-01-01");  // a Monday
  const MonthGrid last = BuildMonthGrid(9999, 12, Date{});
  EXPECT_EQ(last.DayCells[last.CellCount - 1].DateText, "10000-01-02");
  EXPECT_EQ(last.DayCells[last.CellCount - 2].LabelText, "元旦");
  const MonthGrid later = BuildMonthGrid(2100, 12, Date{2100, 12, 25});
  int marked = 0;
  for (const DayCell& cell : later.DayCells) {
    EXPECT_EQ(cell.LunarDayText, "");
    marked += cell.IsToday;
  }
  EXPECT_EQ(marked, 1);
}

TEST(OutOfRangeGrid, ImpossibleMonthsAndYearsGiveAnEmptyGrid) {
  for (const auto& [year, month] : {std::pair<int16_t, int16_t>{2024, 0},
                                    {2024, 13},
                                    {2024, -1},
                                    {0, 6},
                                    {-1, 6},
                                    {10000, 1},
                                    {kLowest, kLowest},
                                    {kHighest, kHighest}}) {
    const MonthGrid grid = BuildMonthGrid(year, month, Date{2024, 1, 1});
    EXPECT_EQ(grid.CellCount, 0) << year << "-" << month;
    EXPECT_EQ(grid.DaysInMonth, 0);
    EXPECT_TRUE(grid.DayCells.empty());
  }
}

// Under AddressSanitizer/UBSan this shows that no argument, however wrong,
// reads outside a table or overflows.
TEST(OutOfRangeSweep, AnyArgumentsGiveACleanResult) {
  const int16_t years[] = {kLowest, -1,   0,    1,    1600, 1948,  1949,
                           1950,    2050, 2051, 2052, 9999, 10000, kHighest};
  for (int16_t year : years) {
    for (int16_t month = -2; month <= 14; ++month) {
      const MonthGrid grid = BuildMonthGrid(year, month, Date{year, 1, 1});
      EXPECT_TRUE(grid.CellCount == 0 || grid.CellCount == 35 || grid.CellCount == 42);
      EXPECT_EQ(grid.DayCells.size(), static_cast<size_t>(grid.CellCount));
      for (int16_t day = -2; day <= 33; ++day) {
        DayCell cell;
        ConvertToLunar(year, month, day, cell);
        if (!IsValidDate({year, month, day})) {
          EXPECT_TRUE(cell.LunarDayText.empty());
        }
      }
    }
  }
}

}  // namespace
}  // namespace kelvo
