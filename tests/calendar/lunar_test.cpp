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

struct LunarCase {
  int16_t Year, Month, Day;
  const char* YearText;
  const char* MonthText;
  const char* DayText;
  const char* Caption;
  bool Marked;
};

TEST(ConvertToLunar, DocumentedDatesGiveTheirTextsAndCaptions) {
  const LunarCase cases[] = {
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
  };
  for (const LunarCase& c : cases) {
    const DayCell cell = ShownCell(c.Year, c.Month, c.Day);
    SCOPED_TRACE(cell.DateText);
    EXPECT_EQ(cell.LunarYearText, c.YearText);
    EXPECT_EQ(cell.LunarMonthText, c.MonthText);
    EXPECT_EQ(cell.LunarDayText, c.DayText);
    EXPECT_EQ(cell.LabelText, c.Caption);
    EXPECT_EQ(cell.IsFestivalOrTerm, c.Marked);
  }
}

TEST(ConvertToLunar, LeapDayNeedsNoCorrectionOfItsOwn) {
  DayCell leapDay;
  ConvertToLunar(2000, 2, 29, leapDay);
  EXPECT_EQ(leapDay.LunarYearText, "庚辰年");
  EXPECT_EQ(leapDay.LunarMonthText, "正月");
  EXPECT_EQ(leapDay.LunarDayText, "廿五");
  DayCell nextDay;
  ConvertToLunar(2000, 3, 1, nextDay);
  EXPECT_EQ(nextDay.LunarYearText, "庚辰年");
  EXPECT_EQ(nextDay.LunarMonthText, "正月");
  EXPECT_EQ(nextDay.LunarDayText, "廿六");
}

TEST(ConvertToLunar, JanuaryBeforeTheLunarNewYearKeepsThePreviousStemBranch) {
  DayCell cell;
  ConvertToLunar(2024, 1, 31, cell);
  EXPECT_EQ(cell.LunarYearText, "癸卯年");
  EXPECT_EQ(cell.LunarMonthText, "腊月");
  EXPECT_EQ(cell.LunarDayText, "廿一");
  EXPECT_EQ(cell.LabelText, "廿一");
  EXPECT_FALSE(cell.IsFestivalOrTerm);
}

TEST(CaptionPriority, LunarFestivalDisplacesASolarTerm) {
  const DayCell cell = ShownCell(2019, 2, 4);  // 立春 and 腊月三十
  EXPECT_EQ(cell.LunarMonthText, "腊月");
  EXPECT_EQ(cell.LunarDayText, "三十");
  EXPECT_EQ(cell.LabelText, "除夕");
  EXPECT_TRUE(cell.IsFestivalOrTerm);
}

TEST(CaptionPriority, SolarTermBeatsAGregorianFestival) {
  const DayCell environmentDay = ShownCell(2024, 6, 5);  // 芒种 and 环境日
  EXPECT_EQ(environmentDay.LabelText, "芒种");
  EXPECT_TRUE(environmentDay.IsFestivalOrTerm);
  const DayCell fathersDay = ShownCell(2020, 6, 21);  // 夏至 and the third Sunday of June
  EXPECT_EQ(fathersDay.LabelText, "夏至");
  EXPECT_TRUE(fathersDay.IsFestivalOrTerm);
}

TEST(CaptionPriority, LunarFestivalHidesAGregorianFestivalAndATerm) {
  const DayCell cell = ShownCell(2030, 6, 5);  // 五月初五, 环境日 and 芒种
  EXPECT_EQ(cell.LunarMonthText, "五月");
  EXPECT_EQ(cell.LunarDayText, "初五");
  EXPECT_EQ(cell.LabelText, "端午节");
  EXPECT_TRUE(cell.IsFestivalOrTerm);
}

TEST(CaptionPriority, GregorianFestivalFillsAnEmptyCaption) {
  DayCell cell;
  ConvertToLunar(2024, 10, 1, cell);
  EXPECT_EQ(cell.LabelText, "国庆节");
  EXPECT_TRUE(cell.IsFestivalOrTerm);
}

TEST(CaptionPriority, KeepsATermAlreadyInTheCell) {
  DayCell cell;
  cell.LabelText = "立夏";
  cell.IsFestivalOrTerm = true;
  ConvertToLunar(2024, 5, 5, cell);  // 三月廿七, no festival
  EXPECT_EQ(cell.LabelText, "立夏");
  EXPECT_TRUE(cell.IsFestivalOrTerm);
  EXPECT_EQ(cell.LunarDayText, "廿七");
}

TEST(CaptionPriority, LunarFestivalReplacesAnyCaption) {
  DayCell cell;
  cell.LabelText = "清明";
  cell.IsFestivalOrTerm = true;
  ConvertToLunar(2024, 4, 11, cell);  // 三月初三: no festival, the term stays
  EXPECT_EQ(cell.LabelText, "清明");
  DayCell midAutumn;
  midAutumn.LabelText = "白露";
  ConvertToLunar(2024, 9, 17, midAutumn);  // 八月十五
  EXPECT_EQ(midAutumn.LabelText, "中秋节");
  EXPECT_TRUE(midAutumn.IsFestivalOrTerm);
}

TEST(CaptionPriority, FirstDayOfAMonthShowsChuYiNotTheMonthName) {
  DayCell cell;
  ConvertToLunar(2024, 3, 10, cell);  // 二月初一
  EXPECT_EQ(cell.LunarMonthText, "二月");
  EXPECT_EQ(cell.LabelText, "初一");
  EXPECT_FALSE(cell.IsFestivalOrTerm);
}

TEST(LeapMonths, HaveNoLunarFestivals) {
  DayCell dragonBoat;
  ConvertToLunar(2028, 5, 28, dragonBoat);
  EXPECT_EQ(dragonBoat.LunarMonthText, "五月");
  EXPECT_EQ(dragonBoat.LabelText, "端午节");
  DayCell leapDragonBoat;
  ConvertToLunar(2028, 6, 27, leapDragonBoat);
  EXPECT_EQ(leapDragonBoat.LunarMonthText, "闰五月");
  EXPECT_EQ(leapDragonBoat.LunarDayText, "初五");
  EXPECT_EQ(leapDragonBoat.LabelText, "初五");
  EXPECT_FALSE(leapDragonBoat.IsFestivalOrTerm);
  DayCell dragonHead;
  ConvertToLunar(2023, 2, 21, dragonHead);
  EXPECT_EQ(dragonHead.LabelText, "龙头节");
  DayCell leapDragonHead;
  ConvertToLunar(2023, 3, 23, leapDragonHead);
  EXPECT_EQ(leapDragonHead.LunarMonthText, "闰二月");
  EXPECT_EQ(leapDragonHead.LabelText, "初二");
}

TEST(LunarFestivalDates, FollowTheMonthLength) {
  DayCell eve30;
  ConvertToLunar(2024, 2, 9, eve30);
  EXPECT_EQ(eve30.LunarDayText, "三十");
  EXPECT_EQ(eve30.LabelText, "除夕");
  DayCell eve29;
  ConvertToLunar(2025, 1, 28, eve29);
  EXPECT_EQ(eve29.LunarDayText, "廿九");
  EXPECT_EQ(eve29.LabelText, "除夕");
  DayCell kitchenGod;
  ConvertToLunar(2025, 1, 22, kitchenGod);
  EXPECT_EQ(kitchenGod.LabelText, "祭灶节");
  DayCell laba;
  ConvertToLunar(2025, 1, 7, laba);
  EXPECT_EQ(laba.LabelText, "腊八节");
  DayCell dragonBoat;
  ConvertToLunar(2024, 6, 10, dragonBoat);
  EXPECT_EQ(dragonBoat.LabelText, "端午节");
}

TEST(GregorianToLunar, GivesTheSignedMonthAndItsLength) {
  const auto leap = GregorianToLunar(2023, 3, 22);
  ASSERT_TRUE(leap.has_value());
  EXPECT_EQ(leap->Year, 2023);
  EXPECT_EQ(leap->Month, -2);
  EXPECT_EQ(leap->Day, 1);
  EXPECT_EQ(leap->MonthLength, 29);
  const auto eve = GregorianToLunar(2024, 2, 9);
  ASSERT_TRUE(eve.has_value());
  EXPECT_EQ(eve->Year, 2023);
  EXPECT_EQ(eve->Month, 12);
  EXPECT_EQ(eve->Day, 30);
  EXPECT_EQ(eve->MonthLength, 30);
}

TEST(GregorianToLunar, CoversTheFirstAndLastDayOfTheTable) {
  const auto first = GregorianToLunar(1949, 1, 29);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->Year, 1949);
  EXPECT_EQ(first->Month, 1);
  EXPECT_EQ(first->Day, 1);
  const auto last = GregorianToLunar(2051, 2, 10);
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->Year, 2050);
  EXPECT_EQ(last->Month, 12);
  EXPECT_EQ(last->Day, 29);
  EXPECT_EQ(last->MonthLength, 29);
}

TEST(GregorianToLunar, MonthAfterALeapMonthKeepsItsNumber) {
  const auto third = GregorianToLunar(2023, 4, 20);  // the month after 闰二月
  ASSERT_TRUE(third.has_value());
  EXPECT_EQ(third->Month, 3);
  EXPECT_EQ(third->Day, 1);
  const auto twelfth = GregorianToLunar(2034, 1, 20);  // after 闰十一月 of 2033
  ASSERT_TRUE(twelfth.has_value());
  EXPECT_EQ(twelfth->Year, 2033);
  EXPECT_EQ(twelfth->Month, 12);
}

TEST(YearNames, StemBranchAndZodiacFollowTheSixtyYearCycle) {
  EXPECT_EQ(StemBranchYearText(2024), "甲辰年");
  EXPECT_EQ(StemBranchYearText(1949), "己丑年");
  EXPECT_EQ(StemBranchYearText(1984), "甲子年");
  EXPECT_EQ(StemBranchYearText(2043), "癸亥年");
  EXPECT_EQ(StemBranchYearText(3), "癸亥年");  // before year 4 the cycle wraps, not underflows
  EXPECT_EQ(StemBranchYearText(-32768), "壬子年");
  EXPECT_EQ(ZodiacOfYear(2024), "龙");
  EXPECT_EQ(ZodiacOfYear(2023), "兔");
  EXPECT_EQ(ZodiacOfYear(1984), "鼠");
  EXPECT_EQ(ZodiacOfYear(0), "猴");
}

}  // namespace
}  // namespace kelvo
