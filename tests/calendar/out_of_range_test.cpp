// A system clock can be set anywhere, and kelvo-month reads dates typed by
// hand: whatever arrives gives a clean result.
#include <gtest/gtest.h>

#include <limits>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"

namespace kelvo {
namespace {

TEST(OutOfRange, MonthBeyondTheTablesShowsGregorianDaysAndFestivalsOnly) {
  const MonthGrid grid = BuildMonthGrid(1900, 1, Date{1900, 1, 15});
  ASSERT_EQ(grid.CellCount, 35);  // 1900-01-01 was a Monday
  EXPECT_EQ(grid.DayCells[32].DateText, "1900-02-02");
  for (int i = 0; i < grid.CellCount; ++i) {
    const DayCell& cell = grid.DayCells[i];
    SCOPED_TRACE(cell.DateText);
    EXPECT_EQ(cell.LunarYearText + cell.LunarMonthText + cell.LunarDayText, "");
    EXPECT_EQ(cell.LabelText, i == 0 ? "元旦" : i == 32 ? "湿地日" : "");
    EXPECT_EQ(cell.IsFestivalOrTerm, i == 0 || i == 32);
    EXPECT_EQ(cell.IsToday, i == 14);
  }
  EXPECT_EQ(BuildMonthGrid(1, 1, Date{}).DayCells.front().DateText, "0001-01-01");
  const MonthGrid last = BuildMonthGrid(9999, 12, Date{});
  ASSERT_EQ(last.CellCount, 35);
  EXPECT_EQ(last.DayCells[34].DateText, "10000-01-02");
  EXPECT_EQ(last.DayCells[33].LabelText, "元旦");
}

// Under AddressSanitizer/UBSan this also shows that no argument, however
// wrong, reads outside a table or overflows.
TEST(OutOfRange, AnyArgumentsGiveACleanResultAndImpossibleMonthsAnEmptyGrid) {
  constexpr int16_t kLowest = std::numeric_limits<int16_t>::min();
  constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();
  for (int16_t year : {kLowest, int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{1948}, int16_t{1949},
                       int16_t{2050}, int16_t{2051}, int16_t{9999}, int16_t{10000}, kHighest}) {
    for (int16_t month : {kLowest, int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{2}, int16_t{12},
                          int16_t{13}, kHighest}) {
      SCOPED_TRACE(::testing::Message() << year << "-" << month);
      const MonthGrid grid = BuildMonthGrid(year, month, Date{year, month, 1});
      if (year >= 1 && year <= 9999 && month >= 1 && month <= 12) {
        EXPECT_TRUE(grid.CellCount == 35 || grid.CellCount == 42);
      } else {
        EXPECT_EQ(grid.CellCount + grid.DaysInMonth, 0);
      }
      EXPECT_EQ(grid.DayCells.size(), static_cast<size_t>(grid.CellCount));
      for (int16_t day : {kLowest, int16_t{-1}, int16_t{0}, int16_t{1}, int16_t{29}, int16_t{30},
                          int16_t{31}, int16_t{32}, kHighest}) {
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

TEST(IsoDates, OnlyARealDateInTheExactFormIsRead) {
  EXPECT_EQ(ParseIsoDate("2024-02-29"), (Date{2024, 2, 29}));
  EXPECT_EQ(ParseIsoDate("0001-01-01"), (Date{1, 1, 1}));
  EXPECT_EQ(ParseIsoDate("9999-12-31"), (Date{9999, 12, 31}));
  for (const char* text :
       {"", "2024-2-29", "2023-02-29", "2100-02-29", "2024-13-01", "2024-00-10", "2024-01-00",
        "2024-04-31", "0000-01-01", "2024/01/01", "20240101", "2024-01-01 ", " 2024-01-01",
        "2024-01-0x", "+024-01-01", "2024-01-011"}) {
    EXPECT_FALSE(ParseIsoDate(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace kelvo
