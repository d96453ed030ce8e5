#include "calendar/month_grid.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

constexpr Date kNoToday{};

// Indexes of the cells whose caption is the given text.
std::vector<int> CellsLabelled(const MonthGrid& grid, std::string_view label) {
  std::vector<int> found;
  for (int i = 0; i < static_cast<int>(grid.DayCells.size()); ++i) {
    if (grid.DayCells[i].LabelText == label) found.push_back(i);
  }
  return found;
}

TEST(MonthGrid, MonthStartingOnMondayHasNoLeadingCells) {
  const MonthGrid grid = BuildMonthGrid(2021, 2, kNoToday);
  EXPECT_EQ(grid.CellCount, 35);
  EXPECT_EQ(grid.DaysInMonth, 28);
  ASSERT_EQ(grid.DayCells.size(), 35u);
  EXPECT_EQ(grid.DayCells[0].DateText, "2021-02-01");
  EXPECT_FALSE(grid.DayCells[0].IsOtherMonth);
  EXPECT_EQ(grid.DayCells[28].DateText, "2021-03-01");
  EXPECT_EQ(grid.DayCells[34].DateText, "2021-03-07");
  for (int i = 28; i < 35; ++i) EXPECT_TRUE(grid.DayCells[i].IsOtherMonth) << i;
  EXPECT_EQ(grid.DayCells[2].LabelText, "立春");
  EXPECT_TRUE(grid.DayCells[2].IsFestivalOrTerm);
  EXPECT_EQ(grid.DayCells[32].LabelText, "惊蛰");
  EXPECT_TRUE(grid.DayCells[32].IsFestivalOrTerm);
}

TEST(MonthGrid, January1950NeedsSixWeeks) {
  const MonthGrid grid = BuildMonthGrid(1950, 1, kNoToday);
  EXPECT_EQ(grid.CellCount, 42);
  EXPECT_EQ(grid.DaysInMonth, 31);
  EXPECT_EQ(grid.DayCells.front().DateText, "1949-12-26");
  EXPECT_TRUE(grid.DayCells.front().IsOtherMonth);
  EXPECT_EQ(grid.DayCells[6].DateText, "1950-01-01");
  EXPECT_EQ(grid.DayCells[6].LabelText, "元旦");
  EXPECT_EQ(grid.DayCells.back().DateText, "1950-02-05");
  EXPECT_EQ(grid.DayCells[40].DateText, "1950-02-04");
  EXPECT_EQ(grid.DayCells[40].LabelText, "立春");
  EXPECT_TRUE(grid.DayCells[40].IsOtherMonth);
  EXPECT_EQ(CellsLabelled(grid, "小寒"), std::vector<int>{11});  // 01-06
  EXPECT_EQ(CellsLabelled(grid, "大寒"), std::vector<int>{25});  // 01-20
}

TEST(MonthGrid, PreviousMonthCellsNeverReceiveATerm) {
  // The grid of January 1950 starts on 1949-12-26, after 冬至 1949; the
  // grid of March 2024 starts on 02-26, after 雨水 (02-19), but no leading
  // cell may show a term in any case.
  const MonthGrid grid = BuildMonthGrid(2022, 1, kNoToday);  // leads 2021-12-27 .. 31
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(grid.DayCells[i].IsOtherMonth);
    EXPECT_FALSE(grid.DayCells[i].IsFestivalOrTerm) << grid.DayCells[i].DateText;
  }
}

TEST(MonthGrid, DecemberTakesTheNextSmallColdFromTheFollowingYear) {
  const MonthGrid december2033 = BuildMonthGrid(2033, 12, kNoToday);
  EXPECT_EQ(december2033.DayCells[CellsLabelled(december2033, "大雪").at(0)].DateText,
            "2033-12-07");
  EXPECT_EQ(december2033.DayCells[CellsLabelled(december2033, "冬至").at(0)].DateText,
            "2033-12-21");

  const MonthGrid december2024 = BuildMonthGrid(2024, 12, kNoToday);
  EXPECT_EQ(december2024.CellCount, 42);  // Sunday the 1st
  EXPECT_EQ(december2024.DayCells[CellsLabelled(december2024, "大雪").at(0)].DateText,
            "2024-12-06");
  EXPECT_EQ(december2024.DayCells[CellsLabelled(december2024, "冬至").at(0)].DateText,
            "2024-12-21");
  EXPECT_EQ(december2024.DayCells[41].DateText, "2025-01-05");
  EXPECT_EQ(december2024.DayCells[41].LabelText, "小寒");
  EXPECT_TRUE(december2024.DayCells[41].IsFestivalOrTerm);
}

TEST(MonthGrid, December2050EndsOnOneTrailingCellWithoutATerm) {
  const MonthGrid grid = BuildMonthGrid(2050, 12, kNoToday);
  EXPECT_EQ(grid.CellCount, 35);
  EXPECT_EQ(grid.DayCells[3].DateText, "2050-12-01");  // Thursday
  EXPECT_EQ(grid.DayCells[34].DateText, "2051-01-01");
  EXPECT_EQ(grid.DayCells[34].LabelText, "元旦");
  EXPECT_EQ(grid.DayCells[34].LunarMonthText, "十一月");
  EXPECT_EQ(grid.DayCells[34].LunarDayText, "十九");
  EXPECT_EQ(CellsLabelled(grid, "大雪").size(), 1u);
  EXPECT_EQ(CellsLabelled(grid, "冬至").size(), 1u);
  EXPECT_TRUE(CellsLabelled(grid, "小寒").empty());
}

TEST(MonthGrid, TrailingCellsShowTheNextTermOnlyWhenItFallsWithinThem) {
  const MonthGrid grid = BuildMonthGrid(2024, 2, kNoToday);
  EXPECT_EQ(grid.CellCount, 35);
  EXPECT_EQ(grid.DaysInMonth, 29);
  EXPECT_EQ(grid.DayCells[0].DateText, "2024-01-29");
  EXPECT_EQ(grid.DayCells[34].DateText, "2024-03-03");
  EXPECT_TRUE(CellsLabelled(grid, "惊蛰").empty());
}

TEST(MonthGrid, OtherMonthCellsStillGetLunarTextsAndFestivals) {
  const MonthGrid grid = BuildMonthGrid(2024, 2, kNoToday);
  const DayCell& last = grid.DayCells[34];
  EXPECT_EQ(last.LabelText, "爱耳日");
  EXPECT_TRUE(last.IsOtherMonth);
  EXPECT_TRUE(last.IsFestivalOrTerm);
  EXPECT_EQ(last.LunarMonthText, "正月");
  EXPECT_EQ(last.LunarDayText, "廿三");
}

TEST(MonthGrid, LeapDayIsAnOrdinaryCell) {
  const MonthGrid grid = BuildMonthGrid(2024, 2, kNoToday);
  const DayCell& leapDay = grid.DayCells[3 + 28];
  EXPECT_EQ(leapDay.DateText, "2024-02-29");
  EXPECT_EQ(leapDay.DayText, "29");
  EXPECT_FALSE(leapDay.IsOtherMonth);
  EXPECT_EQ(BuildMonthGrid(2023, 2, kNoToday).DaysInMonth, 28);
}

TEST(MonthGrid, DayTextHasNoLeadingZeroAndRectanglesStartAtZero) {
  const MonthGrid grid = BuildMonthGrid(2024, 3, kNoToday);  // Friday the 1st
  EXPECT_EQ(grid.DayCells[4].DayText, "1");
  EXPECT_EQ(grid.DayCells[4].DateText, "2024-03-01");
  EXPECT_EQ(grid.DayCells[4 + 30].DayText, "31");
  for (const DayCell& cell : grid.DayCells) EXPECT_EQ(cell.CellRect, Rect{});
}

TEST(MonthGrid, MarksTodayWherePresentEvenInANeighbourMonthCell) {
  const MonthGrid inMonth = BuildMonthGrid(2024, 2, Date{2024, 2, 10});
  int marked = 0;
  for (const DayCell& cell : inMonth.DayCells) marked += cell.IsToday;
  EXPECT_EQ(marked, 1);
  EXPECT_TRUE(inMonth.DayCells[3 + 9].IsToday);
  EXPECT_EQ(inMonth.DayCells[3 + 9].LabelText, "春节");

  const MonthGrid neighbour = BuildMonthGrid(2024, 2, Date{2024, 3, 2});
  EXPECT_TRUE(neighbour.DayCells[33].IsToday);
  EXPECT_TRUE(neighbour.DayCells[33].IsOtherMonth);

  const MonthGrid elsewhere = BuildMonthGrid(2024, 2, Date{2024, 6, 1});
  for (const DayCell& cell : elsewhere.DayCells) EXPECT_FALSE(cell.IsToday);
}

TEST(MonthGrid, AnImpossibleTodayMarksNothing) {
  for (const Date today : {Date{}, Date{2024, 2, 30}, Date{2024, 13, 1}}) {
    const MonthGrid grid = BuildMonthGrid(2024, 3, today);
    for (const DayCell& cell : grid.DayCells) EXPECT_FALSE(cell.IsToday);
  }
}

TEST(FillSolarTerms, WritesTheMonthsTermsIntoEmptyCells) {
  std::vector<DayCell> cells(35);
  FillSolarTerms(2021, 2, cells, -1, 28, 7);
  EXPECT_EQ(cells[2].LabelText, "立春");
  EXPECT_EQ(cells[17].LabelText, "雨水");  // 02-18
  EXPECT_EQ(cells[32].LabelText, "惊蛰");
  int marked = 0;
  for (const DayCell& cell : cells) marked += cell.IsFestivalOrTerm;
  EXPECT_EQ(marked, 3);
}

TEST(FillSolarTerms, IgnoresYearsWithoutARowAndImpossibleMonths) {
  for (const auto& [year, month] : {std::pair<int16_t, int16_t>{1949, 12},
                                    {2051, 1},
                                    {2024, 0},
                                    {2024, 13},
                                    {-32768, -32768}}) {
    std::vector<DayCell> cells(42);
    FillSolarTerms(year, month, cells, 2, 31, 6);
    for (const DayCell& cell : cells) {
      EXPECT_TRUE(cell.LabelText.empty()) << year << "-" << month;
      EXPECT_FALSE(cell.IsFestivalOrTerm);
    }
  }
}

TEST(FillSolarTerms, NeverWritesOutsideTheCells) {
  std::vector<DayCell> tooFew(3);
  FillSolarTerms(2024, 6, tooFew, 5, 30, 7);
  FillSolarTerms(2024, 6, tooFew, -40, 30, 7);
  FillSolarTerms(2024, 12, tooFew, 32000, 31, 32000);
  std::vector<DayCell> none;
  FillSolarTerms(2024, 6, none, -1, 30, 5);
  for (const DayCell& cell : tooFew) EXPECT_TRUE(cell.LabelText.empty());
}

TEST(FillSolarTerms, December2050AsksForNoRowOf2051) {
  // Even with a week of trailing cells, there is no 2051 row to take 小寒 from.
  std::vector<DayCell> cells(42);
  FillSolarTerms(2050, 12, cells, 2, 31, 7);
  EXPECT_EQ(cells[2 + 7].LabelText, "大雪");
  EXPECT_EQ(cells[2 + 22].LabelText, "冬至");
  for (int i = 2 + 31 + 1; i < 42; ++i) EXPECT_TRUE(cells[i].LabelText.empty()) << i;
}

}  // namespace
}  // namespace kelvo
