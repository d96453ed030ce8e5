#include "calendar/tables.h"

#include <gtest/gtest.h>

#include <bit>

#include "calendar/lunar.h"

namespace kelvo {
namespace {

// The entries of both tables are pinned by their sums: a changed digit
// anywhere shows here. The mended solar-term rows are checked by their dates.
TEST(PackedTables, CoverTheirYearsAndAddUpToTheirKnownTotals) {
  EXPECT_EQ(LunarYearInfo.size(), 102u);  // lunar 1949 .. 2050
  EXPECT_EQ(SolarTermInfo.size(), 101u);  // 1950 .. 2050
  int64_t lunarTotal = 0;
  for (int32_t info : LunarYearInfo) {
    lunarTotal += info;
    EXPECT_NE(info, 4095) << "the ambiguous entry";
  }
  EXPECT_EQ(lunarTotal, 13627374);
  int64_t termTotal = 0;
  int setBits = 0;
  for (int32_t info : SolarTermInfo) {
    termTotal += info;
    setBits += std::popcount(static_cast<uint32_t>(info));
    EXPECT_EQ(info >> 24, 0) << info;
  }
  EXPECT_EQ(termTotal, 1188248244);
  EXPECT_EQ(setBits, 1338);
}

TEST(LunarYearDecoding, GivesMonthLengthsLeapMonthAndDayCount) {
  const LunarYearLayout first = DecodeLunarYearInfo(LunarYearInfo[0]);  // 1949, leap 7th month
  EXPECT_EQ(first.MonthCount, 13);
  EXPECT_EQ(first.LeapMonth, 7);
  EXPECT_EQ(first.MonthLengths,
            (std::array<int16_t, 13>{30, 29, 30, 30, 29, 30, 29, 29, 30, 29, 30, 29, 30}));
  EXPECT_EQ(first.DayCount, 384);
  const LunarYearLayout common = DecodeLunarYearInfo(1738);  // 1950
  EXPECT_EQ(common.MonthCount, 12);
  EXPECT_EQ(common.LeapMonth, 0);
  EXPECT_EQ(common.MonthLengths,
            (std::array<int16_t, 13>{29, 30, 30, 29, 30, 30, 29, 29, 30, 29, 30, 29, 0}));
  EXPECT_EQ(common.DayCount, 354);
  EXPECT_EQ(DecodeLunarYearInfo(LunarYearInfo[2006 - 1949]).DayCount, 385);
  const LunarYearLayout last = DecodeLunarYearInfo(LunarYearInfo.back());  // 2050
  EXPECT_EQ(last.MonthCount, 13);
  EXPECT_EQ(last.LeapMonth, 3);
  EXPECT_EQ(last.MonthLengths[12], 29);
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
