#include "calendar/month_grid.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

constexpr Date kNoToday{};

struct ShapeCase {
  int16_t Year, Month;
  int CellCount, DaysInMonth;
  const char* FirstDate;
  const char* LastDate;
};

TEST(MonthGrid, StartsOnTheMondayBeforeTheFirstAndEndsOnASunday) {
  // clang-format off
  constexpr ShapeCase cases[] = {
      {2021, 2, 35, 28, "2021-02-01", "2021-03-07"},   // starts on a Monday: no leading cells
      {1950, 1, 42, 31, "1949-12-26", "1950-02-05"},   // six weeks
      {2024, 2, 35, 29, "2024-01-29", "2024-03-03"},
      {2024, 12, 42, 31, "2024-11-25", "2025-01-05"},  // Sunday the 1st
      {2050, 12, 35, 31, "2050-11-28", "2051-01-01"}};  // one trailing cell
  // clang-format on
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Year << "-" << c.Month);
    const MonthGrid grid = BuildMonthGrid(c.Year, c.Month, kNoToday);
    EXPECT_EQ(grid.CellCount, c.CellCount);
    EXPECT_EQ(grid.DaysInMonth, c.DaysInMonth);
    ASSERT_EQ(grid.DayCells.size(), static_cast<size_t>(c.CellCount));
    EXPECT_EQ(grid.DayCells.front().DateText, c.FirstDate);
    EXPECT_EQ(grid.DayCells.back().DateText, c.LastDate);
  }
}

struct CellCase {
  int16_t Year, Month;
  int Index;
  const char* DateText;
  const char* Label;
  bool Other, Marked;
};

TEST(MonthGrid, CellsCarryTheirTermsAndFestivalsInOwnAndNeighbourMonths) {
  // clang-format off
  constexpr CellCase cases[] = {
      {2021, 2, 0, "2021-02-01", "二十", false, false}, {2021, 2, 2, "2021-02-03", "立春", false, true},
      {2021, 2, 32, "2021-03-05", "惊蛰", true, true},
      {1950, 1, 6, "1950-01-01", "元旦", false, true}, {1950, 1, 11, "1950-01-06", "小寒", false, true},
      {1950, 1, 25, "1950-01-20", "大寒", false, true}, {1950, 1, 40, "1950-02-04", "立春", true, true},
      // December takes the next 小寒 from the following year's row ...
      {2033, 12, 9, "2033-12-07", "大雪", false, true},
      {2033, 12, 23, "2033-12-21", "冬至", false, true},
      {2024, 12, 11, "2024-12-06", "大雪", false, true},
      {2024, 12, 26, "2024-12-21", "冬至", false, true},
      {2024, 12, 41, "2025-01-05", "小寒", true, true},
      // ... but there is no row of 2051; and other-month cells get their festivals.
      {2050, 12, 34, "2051-01-01", "元旦", true, true},
      {2024, 2, 34, "2024-03-03", "爱耳日", true, true}};
  // clang-format on
  for (const CellCase& c : cases) {
    SCOPED_TRACE(c.DateText);
    const MonthGrid grid = BuildMonthGrid(c.Year, c.Month, kNoToday);
    const DayCell& cell = grid.DayCells.at(c.Index);
    EXPECT_EQ(cell.DateText, c.DateText);
    EXPECT_EQ(cell.LabelText, c.Label);
    EXPECT_EQ(cell.IsOtherMonth, c.Other);
    EXPECT_EQ(cell.IsFestivalOrTerm, c.Marked);
  }
}

TEST(MonthGrid, TrailingCellsShowTheNextTermOnlyWhenItFallsWithinThem) {
  for (const auto& [year, month, term] :
       {std::tuple<int16_t, int16_t, const char*>{2024, 2, "惊蛰"}, {2050, 12, "小寒"}}) {
    for (const DayCell& cell : BuildMonthGrid(year, month, kNoToday).DayCells) {
      EXPECT_NE(cell.LabelText, term) << cell.DateText;
    }
  }
  const DayCell cell = BuildMonthGrid(2024, 2, kNoToday).DayCells[34];  // 2024-03-03
  EXPECT_EQ(cell.LunarMonthText, "正月");
  EXPECT_EQ(cell.LunarDayText, "廿三");
}

int TodayIndex(const MonthGrid& grid) {
  int found = -1;
  for (int i = 0; i < static_cast<int>(grid.DayCells.size()); ++i) {
    if (!grid.DayCells[i].IsToday) continue;
    EXPECT_EQ(found, -1) << "a second today";
    found = i;
  }
  return found;
}

TEST(MonthGrid, MarksTodayWherePresentEvenInANeighbourMonthCell) {
  const MonthGrid inMonth = BuildMonthGrid(2024, 2, Date{2024, 2, 10});
  EXPECT_EQ(TodayIndex(inMonth), 3 + 9);
  EXPECT_EQ(inMonth.DayCells[3 + 9].LabelText, "春节");
  const MonthGrid neighbour = BuildMonthGrid(2024, 2, Date{2024, 3, 2});
  EXPECT_EQ(TodayIndex(neighbour), 33);
  EXPECT_TRUE(neighbour.DayCells[33].IsOtherMonth);
  EXPECT_EQ(TodayIndex(BuildMonthGrid(2024, 2, Date{2024, 6, 1})), -1);
  // An impossible today marks nothing.
  for (const Date today : {Date{}, Date{2024, 2, 30}, Date{2024, 13, 1}}) {
    EXPECT_EQ(TodayIndex(BuildMonthGrid(2024, 3, today)), -1);
  }
}

bool AnyLabel(const std::vector<DayCell>& cells) {
  for (const DayCell& cell : cells) {
    if (!cell.LabelText.empty() || cell.IsFestivalOrTerm) return true;
  }
  return false;
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
  // Even with a week of trailing cells, there is no 2051 row to take 小寒 from.
  std::vector<DayCell> december2050(42);
  FillSolarTerms(2050, 12, december2050, 2, 31, 7);
  EXPECT_EQ(december2050[2 + 7].LabelText, "大雪");
  EXPECT_EQ(december2050[2 + 22].LabelText, "冬至");
  EXPECT_FALSE(AnyLabel({december2050.begin() + 2 + 31 + 1, december2050.end()}));
}

TEST(FillSolarTerms, IgnoresYearsWithoutARowAndImpossibleMonths) {
  for (const auto& [year, month] : {std::pair<int16_t, int16_t>{1949, 12},
                                    {2051, 1},
                                    {2024, 0},
                                    {2024, 13},
                                    {-32768, -32768}}) {
    std::vector<DayCell> cells(42);
    FillSolarTerms(year, month, cells, 2, 31, 6);
    EXPECT_FALSE(AnyLabel(cells)) << year << "-" << month;
  }
}

TEST(FillSolarTerms, NeverWritesOutsideTheCells) {
  std::vector<DayCell> tooFew(3);
  FillSolarTerms(2024, 6, tooFew, 5, 30, 7);
  FillSolarTerms(2024, 6, tooFew, -40, 30, 7);
  FillSolarTerms(2024, 12, tooFew, 32000, 31, 32000);
  std::vector<DayCell> none;
  FillSolarTerms(2024, 6, none, -1, 30, 5);
  EXPECT_FALSE(AnyLabel(tooFew));
}

}  // namespace
}  // namespace kelvo
