#include "calendar/festivals.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvo {
namespace {

TEST(SolarFestivals, FixedDatesGiveTheirNames) {
  EXPECT_EQ(GetSolarFestival(2024, 1, 1), "元旦");
  EXPECT_EQ(GetSolarFestival(2024, 2, 14), "情人节");
  EXPECT_EQ(GetSolarFestival(2024, 3, 3), "爱耳日");
  EXPECT_EQ(GetSolarFestival(2024, 3, 15), "消权日");
  EXPECT_EQ(GetSolarFestival(2024, 5, 18), "博物馆日");
  EXPECT_EQ(GetSolarFestival(2024, 6, 5), "环境日");
  EXPECT_EQ(GetSolarFestival(2024, 10, 1), "国庆节");
  EXPECT_EQ(GetSolarFestival(2024, 12, 25), "圣诞节");
  EXPECT_EQ(GetSolarFestival(1950, 10, 14), "标准日");    // from 1947
  EXPECT_EQ(GetSolarFestival(1950, 11, 17), "大学生节");  // from 1946
}

TEST(SolarFestivals, OrdinaryDaysHaveNone) {
  EXPECT_EQ(GetSolarFestival(2024, 1, 2), "");
  EXPECT_EQ(GetSolarFestival(2024, 7, 15), "");
  EXPECT_EQ(GetSolarFestival(2024, 2, 29), "");
}

TEST(SolarFestivals, RowsWithAFromYearStartInThatYear) {
  EXPECT_EQ(GetSolarFestival(1988, 9, 20), "");
  EXPECT_EQ(GetSolarFestival(1989, 9, 20), "爱牙日");
  EXPECT_EQ(GetSolarFestival(1989, 11, 11), "");
  EXPECT_EQ(GetSolarFestival(1990, 11, 11), "光棍节");
  EXPECT_EQ(GetSolarFestival(2000, 12, 4), "");
  EXPECT_EQ(GetSolarFestival(2001, 12, 4), "法制日");
  EXPECT_EQ(GetSolarFestival(1997, 10, 8), "");
  EXPECT_EQ(GetSolarFestival(1998, 10, 8), "高血压日");
  EXPECT_EQ(GetSolarFestival(1999, 11, 8), "");
  EXPECT_EQ(GetSolarFestival(2000, 11, 8), "记者日");
  EXPECT_EQ(GetSolarFestival(1977, 12, 9), "");
  EXPECT_EQ(GetSolarFestival(1978, 12, 9), "足球日");
}

TEST(SolarFestivals, MothersDayIsTheSecondSundayOfMayAndWinsOverTheFixedDate) {
  EXPECT_EQ(GetSolarFestival(2019, 5, 12), "母亲节");
  EXPECT_EQ(GetSolarFestival(2024, 5, 12), "母亲节");
  EXPECT_EQ(GetSolarFestival(2025, 5, 11), "母亲节");
  EXPECT_EQ(GetSolarFestival(2025, 5, 12), "护士节");
  EXPECT_EQ(GetSolarFestival(2025, 5, 4), "青年节");  // first Sunday: no rule
}

TEST(SolarFestivals, MothersDayWhenMayStartsOnASunday) {
  // 2022-05-01 was a Sunday: the 1st is the first Sunday, the 8th the second.
  EXPECT_EQ(GetSolarFestival(2022, 5, 8), "母亲节");
  EXPECT_EQ(GetSolarFestival(2022, 5, 1), "劳动节");
}

TEST(SolarFestivals, FathersDayIsTheThirdSundayOfJune) {
  EXPECT_EQ(GetSolarFestival(2024, 6, 16), "父亲节");
  EXPECT_EQ(GetSolarFestival(2025, 6, 15), "父亲节");
  EXPECT_EQ(GetSolarFestival(2020, 6, 21), "父亲节");
  EXPECT_EQ(GetSolarFestival(2024, 6, 9), "");
}

TEST(SolarFestivals, DaddysDayIsEveryAugust8th) {
  EXPECT_EQ(GetSolarFestival(1950, 8, 8), "爸爸节");
  EXPECT_EQ(GetSolarFestival(2024, 8, 8), "爸爸节");
  EXPECT_EQ(GetSolarFestival(2050, 8, 8), "爸爸节");
}

TEST(SolarFestivals, ImpossibleDatesGiveNothing) {
  EXPECT_EQ(GetSolarFestival(2024, 0, 1), "");
  EXPECT_EQ(GetSolarFestival(2024, 13, 1), "");
  EXPECT_EQ(GetSolarFestival(2024, -1, 1), "");
  EXPECT_EQ(GetSolarFestival(2024, 1, 0), "");
  EXPECT_EQ(GetSolarFestival(2024, 1, 32), "");
  EXPECT_EQ(GetSolarFestival(2024, 5, -3), "");
  const int16_t lowest = std::numeric_limits<int16_t>::min();
  const int16_t highest = std::numeric_limits<int16_t>::max();
  EXPECT_EQ(GetSolarFestival(lowest, lowest, lowest), "");
  EXPECT_EQ(GetSolarFestival(highest, highest, highest), "");
  EXPECT_EQ(GetSolarFestival(lowest, 1, 1), "元旦");
  EXPECT_EQ(GetSolarFestival(lowest, 9, 20), "");
}

TEST(LunarFestivals, FixedLunarDaysGiveTheirNames) {
  EXPECT_EQ(GetLunarFestival(1, 1, 30), "春节");
  EXPECT_EQ(GetLunarFestival(1, 15, 29), "元宵节");
  EXPECT_EQ(GetLunarFestival(2, 2, 30), "龙头节");
  EXPECT_EQ(GetLunarFestival(5, 5, 29), "端午节");
  EXPECT_EQ(GetLunarFestival(7, 7, 30), "七夕节");
  EXPECT_EQ(GetLunarFestival(7, 15, 30), "中元节");
  EXPECT_EQ(GetLunarFestival(8, 15, 29), "中秋节");
  EXPECT_EQ(GetLunarFestival(9, 9, 30), "重阳节");
  EXPECT_EQ(GetLunarFestival(10, 15, 29), "下元节");
  EXPECT_EQ(GetLunarFestival(12, 8, 30), "腊八节");
  EXPECT_EQ(GetLunarFestival(12, 23, 29), "祭灶节");
}

TEST(LunarFestivals, NewYearsEveIsTheLastDayOfTheTwelfthMonth) {
  EXPECT_EQ(GetLunarFestival(12, 30, 30), "除夕");
  EXPECT_EQ(GetLunarFestival(12, 29, 29), "除夕");
  EXPECT_EQ(GetLunarFestival(12, 29, 30), "");
  EXPECT_EQ(GetLunarFestival(11, 30, 30), "");
}

TEST(LunarFestivals, NoneFallsInALeapMonth) {
  EXPECT_EQ(GetLunarFestival(-5, 5, 29), "");
  EXPECT_EQ(GetLunarFestival(-2, 2, 29), "");
  EXPECT_EQ(GetLunarFestival(-1, 1, 30), "");
  EXPECT_EQ(GetLunarFestival(-12, 30, 30), "");
}

TEST(LunarFestivals, ImpossibleArgumentsGiveNothing) {
  EXPECT_EQ(GetLunarFestival(0, 1, 30), "");
  EXPECT_EQ(GetLunarFestival(13, 1, 30), "");
  EXPECT_EQ(GetLunarFestival(12, 0, 0), "");
  EXPECT_EQ(GetLunarFestival(12, -1, -1), "");
  EXPECT_EQ(GetLunarFestival(1, 31, 30), "");
}

}  // namespace
}  // namespace kelvo
