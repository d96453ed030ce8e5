#include "calendar/lunar.h"

#include <gtest/gtest.h>

#include "calendar/month_grid.h"

namespace kelvo {
namespace {

// The cell of the date in the grid of its own month, as the face shows it
// (solar terms placed first, then the caption rule).
DayCell ShownCell(int16_t year, int16_t month, int16_t day) {
  const MonthGrid grid = BuildMonthGrid(year, month, Date{});
  const std::string text = FormatIsoDate({year, month, day});
  for (const DayCell& cell : grid.DayCells) {
    if (cell.DateText == text && !cell.IsOtherMonth) return cell;
  }
  ADD_FAILURE() << "no cell for " << text;
  return {};
}

// Expected texts of one cell; a null text is not checked.
struct LunarCase {
  int16_t Year, Month, Day;
  const char* YearText;
  const char* MonthText;
  const char* DayText;
  const char* Caption;
  bool Marked;
};

void ExpectCell(const DayCell& cell, const LunarCase& c) {
  SCOPED_TRACE(FormatIsoDate({c.Year, c.Month, c.Day}));
  const auto expectText = [](const std::string& text, const char* expected) {
    if (expected) {
      EXPECT_EQ(text, expected);
    }
  };
  expectText(cell.LunarYearText, c.YearText);
  expectText(cell.LunarMonthText, c.MonthText);
  expectText(cell.LunarDayText, c.DayText);
  EXPECT_EQ(cell.LabelText, c.Caption);
  EXPECT_EQ(cell.IsFestivalOrTerm, c.Marked);
}

TEST(ConvertToLunar, ShownCellsGiveTheirTextsAndCaptions) {
  constexpr LunarCase cases[] = {
      {1949, 1, 29, "己丑年", "正月", "初一", "春节", true},
      {1950, 2, 16, "己丑年", "腊月", "三十", "除夕", true},
      {1950, 2, 17, "庚寅年", "正月", "初一", "春节", true},
      {2023, 3, 21, "癸卯年", "二月", "三十", "春分", true},
      {2023, 3, 22, "癸卯年", "闰二月", "初一", "初一", false},
      {2023, 4, 20, "癸卯年", "三月", "初一", "谷雨", true},
      {2024, 2, 2, "癸卯年", "腊月", "廿三", "祭灶节", true},
      {2024, 2, 9, "癸卯年", "腊月", "三十", "除夕", true},
      {2024, 2, 10, "甲辰年", "正月", "初一", "春节", true},
      {2024, 2, 14, "甲辰年", "正月", "初五", "情人节", true},
      {2033, 12, 22, "癸丑年", "闰十一月", "初一", "初一", false},
      {2034, 1, 20, "癸丑年", "腊月", "初一", "大寒", true},
      {2051, 1, 1, "庚午年", "十一月", "十九", "元旦", true},
      // Caption priority: a lunar festival displaces a solar term ...
      {2019, 2, 4, nullptr, "腊月", "三十", "除夕", true},    // and 立春
      {2030, 6, 5, nullptr, "五月", "初五", "端午节", true},  // and 环境日, 芒种
      // ... and a solar term beats a Gregorian festival.
      {2024, 6, 5, nullptr, nullptr, nullptr, "芒种", true},   // and 环境日
      {2020, 6, 21, nullptr, nullptr, nullptr, "夏至", true},  // and 父亲节
  };
  for (const LunarCase& c : cases) ExpectCell(ShownCell(c.Year, c.Month, c.Day), c);
}

TEST(ConvertToLunar, CellsWithoutATermGiveTheirTextsAndCaptions) {
  constexpr LunarCase cases[] = {
      // The leap day needs no correction of its own.
      {2000, 2, 29, "庚辰年", "正月", "廿五", "廿五", false},
      {2000, 3, 1, "庚辰年", "正月", "廿六", "廿六", false},
      // January before the lunar new year keeps the previous stem-branch.
      {2024, 1, 31, "癸卯年", "腊月", "廿一", "廿一", false},
      // A Gregorian festival fills an empty caption.
      {2024, 10, 1, nullptr, nullptr, nullptr, "国庆节", true},
      // The first day of a month shows 初一, not the month name.
      {2024, 3, 10, nullptr, "二月", nullptr, "初一", false},
      // Leap months have no lunar festivals.
      {2028, 5, 28, nullptr, "五月", nullptr, "端午节", true},
      {2028, 6, 27, nullptr, "闰五月", "初五", "初五", false},
      {2023, 2, 21, nullptr, nullptr, nullptr, "龙头节", true},
      {2023, 3, 23, nullptr, "闰二月", nullptr, "初二", false},
      // Festival dates follow the month length (a 30-day 腊月 is above).
      {2025, 1, 28, nullptr, nullptr, "廿九", "除夕", true},
      {2025, 1, 22, nullptr, nullptr, nullptr, "祭灶节", true},
      {2025, 1, 7, nullptr, nullptr, nullptr, "腊八节", true},
      {2024, 6, 10, nullptr, nullptr, nullptr, "端午节", true},
  };
  for (const LunarCase& c : cases) {
    DayCell cell;
    ConvertToLunar(c.Year, c.Month, c.Day, cell);
    ExpectCell(cell, c);
  }
}

TEST(ConvertToLunar, KeepsATermAlreadyInTheCellUnlessALunarFestivalTakesIt) {
  DayCell cell;
  cell.LabelText = "立夏";
  cell.IsFestivalOrTerm = true;
  ConvertToLunar(2024, 5, 5, cell);  // 三月廿七, no festival
  ExpectCell(cell, {2024, 5, 5, nullptr, nullptr, "廿七", "立夏", true});
  cell.LabelText = "清明";
  ConvertToLunar(2024, 4, 11, cell);  // 三月初三
  ExpectCell(cell, {2024, 4, 11, nullptr, nullptr, "初三", "清明", true});
  DayCell midAutumn;
  midAutumn.LabelText = "白露";
  ConvertToLunar(2024, 9, 17, midAutumn);  // 八月十五
  ExpectCell(midAutumn, {2024, 9, 17, nullptr, "八月", "十五", "中秋节", true});
}

struct GregorianCase {
  int16_t Year, Month, Day;
  LunarDate Expected;  // MonthLength 0: not checked
};

TEST(GregorianToLunar, GivesTheSignedMonthAndItsLength) {
  constexpr GregorianCase cases[] = {
      {1949, 1, 29, {1949, 1, 1, 30}},    // first day of the table
      {2051, 2, 10, {2050, 12, 29, 29}},  // last day of the table
      {2023, 3, 22, {2023, -2, 1, 29}},   // 闰二月
      {2024, 2, 9, {2023, 12, 30, 30}},
      {2023, 4, 20, {2023, 3, 1, 0}},   // the month after 闰二月 keeps its number
      {2034, 1, 20, {2033, 12, 1, 0}},  // after 闰十一月 of 2033
  };
  for (const GregorianCase& c : cases) {
    SCOPED_TRACE(FormatIsoDate({c.Year, c.Month, c.Day}));
    const std::optional<LunarDate> lunar = GregorianToLunar(c.Year, c.Month, c.Day);
    ASSERT_TRUE(lunar.has_value());
    EXPECT_EQ(lunar->Year, c.Expected.Year);
    EXPECT_EQ(lunar->Month, c.Expected.Month);
    EXPECT_EQ(lunar->Day, c.Expected.Day);
    if (c.Expected.MonthLength) {
      EXPECT_EQ(lunar->MonthLength, c.Expected.MonthLength);
    }
  }
}

TEST(YearNames, StemBranchAndZodiacFollowTheSixtyYearCycle) {
  const std::pair<int16_t, const char*> stemBranches[] = {
      {2024, "甲辰年"},   {1949, "己丑年"}, {1984, "甲子年"},
      {2043, "癸亥年"},   {3, "癸亥年"},  // before year 4 the cycle wraps, not underflows
      {-32768, "壬子年"},
  };
  for (const auto& [year, text] : stemBranches) EXPECT_EQ(StemBranchYearText(year), text) << year;
  const std::pair<int16_t, const char*> animals[] = {
      {2024, "龙"}, {2023, "兔"}, {1984, "鼠"}, {0, "猴"}};
  for (const auto& [year, animal] : animals) EXPECT_EQ(ZodiacOfYear(year), animal) << year;
}

}  // namespace
}  // namespace kelvo
