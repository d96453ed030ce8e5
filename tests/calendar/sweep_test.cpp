// Checks that hold for every month the calendar can show, January 1950 to
// December 2050, and for every day of the lunar table.
#include <gtest/gtest.h>

#include <algorithm>

#include "calendar/lunar.h"
#include "calendar/month_grid.h"
#include "calendar/solar_terms.h"
#include "calendar/tables.h"

namespace kelvo {
namespace {

int TermNumber(std::string_view label) {
  const auto it = std::find(SolarTermNames.begin(), SolarTermNames.end(), label);
  return it == SolarTermNames.end() ? -1 : static_cast<int>(it - SolarTermNames.begin());
}

bool IsLunarFestivalName(std::string_view label) {
  for (const char* name : {"春节", "元宵节", "龙头节", "端午节", "七夕节", "中元节", "中秋节",
                           "重阳节", "下元节", "腊八节", "除夕", "祭灶节"}) {
    if (label == name) return true;
  }
  return false;
}

TEST(EveryMonth, GridIsFiveOrSixWholeWeeksOfConsecutiveDates) {
  for (int16_t year = 1950; year <= 2050; ++year) {
    for (int16_t month = 1; month <= 12; ++month) {
      SCOPED_TRACE(testing::Message() << year << "-" << month);
      const MonthGrid grid = BuildMonthGrid(year, month, Date{});
      const Date first{year, month, 1};
      const int lead = WeekdayFromMonday(first);
      ASSERT_EQ(grid.DaysInMonth, DaysInGregorianMonth(year, month));
      ASSERT_EQ(grid.CellCount, lead + grid.DaysInMonth <= 35 ? 35 : 42);
      ASSERT_EQ(grid.DayCells.size(), static_cast<size_t>(grid.CellCount));
      for (int i = 0; i < grid.CellCount; ++i) {
        const DayCell& cell = grid.DayCells[i];
        const Date date = AddDays(first, i - lead);
        ASSERT_EQ(cell.DateText, FormatIsoDate(date));
        ASSERT_EQ(cell.DayText, std::to_string(date.Day));
        ASSERT_EQ(cell.IsOtherMonth, i < lead || i >= lead + grid.DaysInMonth);
        ASSERT_FALSE(cell.LunarYearText.empty());
        ASSERT_FALSE(cell.LunarMonthText.empty());
        ASSERT_FALSE(cell.LunarDayText.empty());
        ASSERT_FALSE(cell.LabelText.empty());
        ASSERT_FALSE(cell.IsToday);
      }
    }
  }
}

TEST(EveryMonth, EachTermShowsOnItsDayInItsMonthUnlessALunarFestivalTakesIt) {
  int termCells = 0;
  int displaced = 0;
  for (int16_t year = 1950; year <= 2050; ++year) {
    for (int16_t month = 1; month <= 12; ++month) {
      SCOPED_TRACE(testing::Message() << year << "-" << month);
      const MonthGrid grid = BuildMonthGrid(year, month, Date{});
      const int lead = WeekdayFromMonday(Date{year, month, 1});
      std::array<int, 24> shown{};
      for (int i = 0; i < grid.CellCount; ++i) {
        const DayCell& cell = grid.DayCells[i];
        const int term = TermNumber(cell.LabelText);
        if (term < 0) continue;
        ASSERT_TRUE(cell.IsFestivalOrTerm);
        if (i < lead + grid.DaysInMonth) {
          ASSERT_GE(i, lead) << "term in a leading cell";
          ASSERT_EQ(term / 2 + 1, month) << cell.DateText;
          ++termCells;
        } else {
          ASSERT_EQ(term, month == 12 ? 0 : 2 * month) << cell.DateText;
        }
        ++shown[term];
      }
      // The month's own two terms are there, or a lunar festival covers them.
      const auto ownTerms = {2 * month - 2, 2 * month - 1};
      for (int term : ownTerms) {
        if (shown[term] == 1) continue;
        ASSERT_EQ(shown[term], 0);
        const Date date = SolarTermDate(year, term).value();
        const DayCell& cell = grid.DayCells[lead + date.Day - 1];
        ASSERT_TRUE(IsLunarFestivalName(cell.LabelText)) << cell.DateText;
        ++displaced;
      }
    }
  }
  EXPECT_EQ(termCells + displaced, 101 * 24);
}

TEST(EveryLunarDay, DaysFollowOneAnotherWithoutGaps) {
  Date date{1949, 1, 29};
  LunarDate previous = GregorianToLunar(date.Year, date.Month, date.Day).value();
  EXPECT_EQ(previous.Year, 1949);
  EXPECT_EQ(previous.Month, 1);
  EXPECT_EQ(previous.Day, 1);
  int days = 1;
  int monthsSeen = 1;
  while (true) {
    date = AddDays(date, 1);
    const std::optional<LunarDate> lunar = GregorianToLunar(date.Year, date.Month, date.Day);
    if (!lunar) break;
    ++days;
    SCOPED_TRACE(FormatIsoDate(date));
    ASSERT_TRUE(lunar->MonthLength == 29 || lunar->MonthLength == 30);
    ASSERT_GE(lunar->Day, 1);
    ASSERT_LE(lunar->Day, lunar->MonthLength);
    if (lunar->Day == previous.Day + 1) {
      ASSERT_EQ(lunar->Month, previous.Month);
      ASSERT_EQ(lunar->Year, previous.Year);
      ASSERT_EQ(lunar->MonthLength, previous.MonthLength);
    } else {
      // A new month starts the day after the last day of the previous one.
      ASSERT_EQ(lunar->Day, 1);
      ASSERT_EQ(previous.Day, previous.MonthLength);
      ++monthsSeen;
      if (previous.Month == 12) {
        ASSERT_EQ(lunar->Year, previous.Year + 1);
        ASSERT_EQ(lunar->Month, 1);
      } else if (lunar->Month < 0) {
        ASSERT_EQ(-lunar->Month, previous.Month);  // a leap month repeats the month before
      } else {
        ASSERT_EQ(lunar->Month, std::abs(previous.Month) + 1);
      }
    }
    previous = *lunar;
  }
  EXPECT_EQ(date, (Date{2051, 2, 11}));
  EXPECT_EQ(days, DaysFromCivil({2051, 2, 11}) - DaysFromCivil({1949, 1, 29}));
  EXPECT_EQ(monthsSeen, 102 * 12 + 38);  // 38 leap months
}

TEST(EveryLunarYear, StartsOnTheDayAfterThePreviousEnds) {
  Date start{1949, 1, 29};
  for (int i = 0; i < 102; ++i) {
    const auto lunar = GregorianToLunar(start.Year, start.Month, start.Day);
    ASSERT_TRUE(lunar.has_value());
    EXPECT_EQ(lunar->Year, 1949 + i);
    EXPECT_EQ(lunar->Month, 1);
    EXPECT_EQ(lunar->Day, 1);
    start = AddDays(start, DecodeLunarYearInfo(LunarYearInfo[i]).DayCount);
  }
  EXPECT_EQ(start, (Date{2051, 2, 11}));
}

}  // namespace
}  // namespace kelvo
