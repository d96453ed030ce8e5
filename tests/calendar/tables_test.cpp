#include "calendar/tables.h"

#include <gtest/gtest.h>

#include <bit>

#include "calendar/lunar.h"

namespace kelvo {
namespace {

TEST(NameTables, HoldTheirEntriesAtTheDocumentedIndexes) {
  EXPECT_EQ(ZodiacNames.size(), 12u);
  EXPECT_EQ(ZodiacNames[0], "鼠");
  EXPECT_EQ(ZodiacNames[4], "龙");
  EXPECT_EQ(ZodiacNames[11], "猪");
  EXPECT_EQ(StemNames.size(), 10u);
  EXPECT_EQ(StemNames[0], "甲");
  EXPECT_EQ(StemNames[9], "癸");
  EXPECT_EQ(BranchNames.size(), 12u);
  EXPECT_EQ(BranchNames[5], "巳");
  EXPECT_EQ(BranchNames[11], "亥");
  EXPECT_EQ(LunarMonthNames.size(), 12u);
  EXPECT_EQ(LunarMonthNames[0], "正");
  EXPECT_EQ(LunarMonthNames[10], "十一");
  EXPECT_EQ(LunarMonthNames[11], "腊");
  EXPECT_EQ(LunarDayNames.size(), 30u);
  EXPECT_EQ(LunarDayNames[0], "初一");
  EXPECT_EQ(LunarDayNames[9], "初十");
  EXPECT_EQ(LunarDayNames[19], "二十");
  EXPECT_EQ(LunarDayNames[20], "廿一");
  EXPECT_EQ(LunarDayNames[29], "三十");
  EXPECT_EQ(WeekdayNames.size(), 7u);
  EXPECT_EQ(WeekdayNames[0], "一");
  EXPECT_EQ(WeekdayNames[5], "六");
  EXPECT_EQ(WeekdayNames[6], "日");
  EXPECT_EQ(SolarTermNames.size(), 24u);
  EXPECT_EQ(SolarTermNames[0], "小寒");
  EXPECT_EQ(SolarTermNames[2], "立春");
  EXPECT_EQ(SolarTermNames[11], "夏至");
  EXPECT_EQ(SolarTermNames[23], "冬至");
}

TEST(MonthStartDays, CountTheDaysOfACommonYearBeforeEachMonth) {
  const std::array<int16_t, 12> expected = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  EXPECT_EQ(MonthStartDays, expected);
}

TEST(PackedTables, CoverTheirYears) {
  EXPECT_EQ(LunarYearInfo.size(), 102u);  // lunar 1949 .. 2050
  EXPECT_EQ(SolarTermInfo.size(), 101u);  // 1950 .. 2050
  EXPECT_EQ(LunarYearInfo.front(), 464533);
  EXPECT_EQ(LunarYearInfo.back(), 199350);
  EXPECT_EQ(SolarTermInfo.front(), 6610205);
  EXPECT_EQ(SolarTermInfo.back(), 14867099);
}

TEST(PackedTables, EntriesAddUpToTheirKnownTotals) {
  // Catches a changed digit anywhere in either table.
  int64_t lunarTotal = 0;
  for (int32_t info : LunarYearInfo) lunarTotal += info;
  EXPECT_EQ(lunarTotal, 13627374);
  int64_t termTotal = 0;
  int setBits = 0;
  for (int32_t info : SolarTermInfo) {
    termTotal += info;
    setBits += std::popcount(static_cast<uint32_t>(info));
  }
  EXPECT_EQ(termTotal, 1188248244);
  EXPECT_EQ(setBits, 1338);
}

TEST(PackedTables, NoLunarEntryIsTheAmbiguous4095) {
  for (int32_t info : LunarYearInfo) EXPECT_NE(info, 4095);
}

TEST(PackedTables, SolarTermRowsUseOnlyTheLow24Bits) {
  for (int32_t info : SolarTermInfo) EXPECT_EQ(info >> 24, 0) << info;
}

TEST(SolarTermInfo, HoldsTheCorrectedRows) {
  EXPECT_EQ(SolarTermInfo[1955 - 1950], 6478491);
  EXPECT_EQ(SolarTermInfo[1961 - 1950], 14775582);
  EXPECT_EQ(SolarTermInfo[1977 - 1950], 14792222);
  EXPECT_EQ(SolarTermInfo[1981 - 1950], 14792222);
  EXPECT_EQ(SolarTermInfo[1986 - 1950], 13200670);
  EXPECT_EQ(SolarTermInfo[1991 - 1950], 10841373);
  EXPECT_EQ(SolarTermInfo[1995 - 1950], 10841373);
  EXPECT_EQ(SolarTermInfo[1999 - 1950], 10841373);
  EXPECT_EQ(SolarTermInfo[2019 - 1950], 13202718);
  EXPECT_EQ(SolarTermInfo[2022 - 1950], 14857807);
  EXPECT_EQ(SolarTermInfo[2031 - 1950], 14775582);
  EXPECT_EQ(SolarTermInfo[2033 - 1950], 6478491);
}

TEST(SolarTermInfo, FirstRowHasThirteenSetBits) {
  EXPECT_EQ(std::popcount(static_cast<uint32_t>(SolarTermInfo[0])), 13);
}

TEST(LunarYearDecoding, Entry1949IsAThirteenMonthYearWithLeapSeventhMonth) {
  const LunarYearLayout layout = DecodeLunarYearInfo(LunarYearInfo[0]);
  EXPECT_EQ(layout.MonthCount, 13);
  EXPECT_EQ(layout.LeapMonth, 7);
  const std::array<int16_t, 13> lengths = {30, 29, 30, 30, 29, 30, 29, 29, 30, 29, 30, 29, 30};
  EXPECT_EQ(layout.MonthLengths, lengths);
  EXPECT_EQ(layout.DayCount, 384);
}

TEST(LunarYearDecoding, Entry1950IsATwelveMonthYear) {
  const LunarYearLayout layout = DecodeLunarYearInfo(1738);
  EXPECT_EQ(layout.MonthCount, 12);
  EXPECT_EQ(layout.LeapMonth, 0);
  const std::array<int16_t, 13> lengths = {29, 30, 30, 29, 30, 30, 29, 29, 30, 29, 30, 29, 0};
  EXPECT_EQ(layout.MonthLengths, lengths);
  EXPECT_EQ(layout.DayCount, 354);
}

TEST(LunarYearDecoding, Entry2033CarriesTheOnlyLeapEleventhMonth) {
  EXPECT_EQ(DecodeLunarYearInfo(LunarYearInfo[2033 - 1949]).LeapMonth, 11);
  int leapElevens = 0;
  for (int32_t info : LunarYearInfo) leapElevens += DecodeLunarYearInfo(info).LeapMonth == 11;
  EXPECT_EQ(leapElevens, 1);
}

TEST(LunarYearDecoding, Entry2006Gives385Days) {
  EXPECT_EQ(DecodeLunarYearInfo(LunarYearInfo[2006 - 1949]).DayCount, 385);
}

TEST(LunarYearDecoding, LastMonthOf2050IsThe13thPositionOf29Days) {
  const LunarYearLayout layout = DecodeLunarYearInfo(LunarYearInfo.back());
  EXPECT_EQ(layout.MonthCount, 13);
  EXPECT_EQ(layout.LeapMonth, 3);
  EXPECT_EQ(layout.MonthLengths[12], 29);
}

TEST(LunarYearDecoding, LeapMonthsAreExactlyTheDocumentedOnes) {
  const std::array<std::pair<int, int>, 38> leaps = {{
      {1949, 7}, {1952, 5}, {1955, 3}, {1957, 8}, {1960, 6}, {1963, 4},  {1966, 3}, {1968, 7},
      {1971, 5}, {1974, 4}, {1976, 8}, {1979, 6}, {1982, 4}, {1984, 10}, {1987, 6}, {1990, 5},
      {1993, 3}, {1995, 8}, {1998, 5}, {2001, 4}, {2004, 2}, {2006, 7},  {2009, 5}, {2012, 4},
      {2014, 9}, {2017, 6}, {2020, 4}, {2023, 2}, {2025, 6}, {2028, 5},  {2031, 3}, {2033, 11},
      {2036, 6}, {2039, 5}, {2042, 2}, {2044, 7}, {2047, 5}, {2050, 3},
  }};
  std::array<int, 102> expected{};
  for (const auto& [year, leap] : leaps) expected[year - 1949] = leap;
  for (int i = 0; i < 102; ++i) {
    const LunarYearLayout layout = DecodeLunarYearInfo(LunarYearInfo[i]);
    EXPECT_EQ(layout.LeapMonth, expected[i]) << "lunar year " << 1949 + i;
    EXPECT_EQ(layout.MonthCount, expected[i] ? 13 : 12) << "lunar year " << 1949 + i;
  }
}

}  // namespace
}  // namespace kelvo
