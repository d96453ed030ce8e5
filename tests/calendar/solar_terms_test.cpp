#include "calendar/solar_terms.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvo {
namespace {

Date TermOf(int year, int term) {
  return SolarTermDate(static_cast<int16_t>(year), term).value();
}

TEST(SolarTerms, Year1950FollowsTheChainFromTheWinterSolstice1949) {
  const auto dates = SolarTermDates(1950);
  ASSERT_TRUE(dates.has_value());
  const std::array<std::pair<int, int>, 24> expected = {{
      {1, 6}, {1, 20}, {2, 4},  {2, 19},  {3, 6},  {3, 21},  {4, 5},  {4, 20},
      {5, 6}, {5, 21}, {6, 6},  {6, 22},  {7, 8},  {7, 23},  {8, 8},  {8, 24},
      {9, 8}, {9, 23}, {10, 9}, {10, 24}, {11, 8}, {11, 23}, {12, 8}, {12, 22},
  }};
  for (int term = 0; term < 24; ++term) {
    EXPECT_EQ((*dates)[term], (Date{1950, static_cast<int16_t>(expected[term].first),
                                    static_cast<int16_t>(expected[term].second)}))
        << "term " << term;
  }
}

TEST(SolarTerms, Year2024HasStartOfSpringOnThe4thAndWinterSolsticeOnThe21st) {
  EXPECT_EQ(TermOf(2024, 2), (Date{2024, 2, 4}));
  EXPECT_EQ(TermOf(2024, 23), (Date{2024, 12, 21}));
}

TEST(SolarTerms, DatesAgreeWithTheListLookup) {
  for (int16_t year = 1950; year <= 2050; ++year) {
    const auto dates = SolarTermDates(year);
    ASSERT_TRUE(dates.has_value());
    for (int term = 0; term < 24; ++term) ASSERT_EQ((*dates)[term], TermOf(year, term));
  }
}

TEST(SolarTerms, EveryTermFallsInItsOwnMonthOfItsOwnYear) {
  for (int16_t year = 1950; year <= 2050; ++year) {
    for (int term = 0; term < 24; ++term) {
      const Date date = TermOf(year, term);
      EXPECT_EQ(date.Year, year);
      EXPECT_EQ(date.Month, term / 2 + 1) << year << " term " << term;
    }
  }
}

TEST(SolarTerms, ChainStepsAre14Or15DaysPlusOne) {
  Date previous{1949, 12, 22};
  for (int16_t year = 1950; year <= 2050; ++year) {
    for (int term = 0; term < 24; ++term) {
      const Date date = TermOf(year, term);
      const int step = DaysFromCivil(date) - DaysFromCivil(previous);
      const int base = term >= 5 && term <= 20 ? 15 : 14;
      EXPECT_TRUE(step == base || step == base + 1) << year << " term " << term;
      previous = date;
    }
  }
}

// The twelve rows that were mended to the astronomical dates.
TEST(CorrectedSolarTerms, Year2019NineTermsFromGrainRainToMajorSnow) {
  EXPECT_EQ(TermOf(2019, 7), (Date{2019, 4, 20}));    // 谷雨
  EXPECT_EQ(TermOf(2019, 9), (Date{2019, 5, 21}));    // 小满
  EXPECT_EQ(TermOf(2019, 11), (Date{2019, 6, 21}));   // 夏至
  EXPECT_EQ(TermOf(2019, 12), (Date{2019, 7, 7}));    // 小暑
  EXPECT_EQ(TermOf(2019, 15), (Date{2019, 8, 23}));   // 处暑
  EXPECT_EQ(TermOf(2019, 17), (Date{2019, 9, 23}));   // 秋分
  EXPECT_EQ(TermOf(2019, 18), (Date{2019, 10, 8}));   // 寒露
  EXPECT_EQ(TermOf(2019, 21), (Date{2019, 11, 22}));  // 小雪
  EXPECT_EQ(TermOf(2019, 22), (Date{2019, 12, 7}));   // 大雪
}

TEST(CorrectedSolarTerms, SingleTermsOfOtherYears) {
  EXPECT_EQ(TermOf(1955, 17), (Date{1955, 9, 24}));  // 秋分
  EXPECT_EQ(TermOf(1961, 16), (Date{1961, 9, 8}));   // 白露
  EXPECT_EQ(TermOf(1977, 14), (Date{1977, 8, 7}));   // 立秋
  EXPECT_EQ(TermOf(1981, 14), (Date{1981, 8, 7}));   // 立秋
  EXPECT_EQ(TermOf(1986, 0), (Date{1986, 1, 5}));    // 小寒
  EXPECT_EQ(TermOf(1986, 18), (Date{1986, 10, 8}));  // 寒露
  EXPECT_EQ(TermOf(1991, 15), (Date{1991, 8, 23}));  // 处暑
  EXPECT_EQ(TermOf(1995, 15), (Date{1995, 8, 23}));  // 处暑
  EXPECT_EQ(TermOf(1999, 15), (Date{1999, 8, 23}));  // 处暑
  EXPECT_EQ(TermOf(2022, 16), (Date{2022, 9, 7}));   // 白露
  EXPECT_EQ(TermOf(2031, 8), (Date{2031, 5, 6}));    // 立夏
  EXPECT_EQ(TermOf(2033, 9), (Date{2033, 5, 21}));   // 小满
}

TEST(CorrectedSolarTerms, LeaveTheFollowingYearsInPlace) {
  // Each mended row keeps its number of set bits, so the next 小寒 is unmoved.
  EXPECT_EQ(TermOf(2020, 0), (Date{2020, 1, 6}));
  EXPECT_EQ(TermOf(2019, 23), (Date{2019, 12, 22}));
  EXPECT_EQ(TermOf(2034, 1), (Date{2034, 1, 20}));
}

TEST(SolarTermsOutOfRange, YearsWithoutARowHaveNoTerms) {
  EXPECT_FALSE(SolarTermDates(1949).has_value());
  EXPECT_FALSE(SolarTermDates(2051).has_value());
  EXPECT_FALSE(SolarTermDates(0).has_value());
  EXPECT_FALSE(SolarTermDates(std::numeric_limits<int16_t>::min()).has_value());
  EXPECT_FALSE(SolarTermDates(std::numeric_limits<int16_t>::max()).has_value());
  EXPECT_FALSE(SolarTermDate(2051, 0).has_value());
  EXPECT_FALSE(SolarTermDate(1949, 23).has_value());
}

TEST(SolarTermsOutOfRange, TermNumbersOutside0To23HaveNoDate) {
  EXPECT_FALSE(SolarTermDate(2024, -1).has_value());
  EXPECT_FALSE(SolarTermDate(2024, 24).has_value());
  EXPECT_FALSE(SolarTermDate(2024, std::numeric_limits<int>::min()).has_value());
}

}  // namespace
}  // namespace kelvo
