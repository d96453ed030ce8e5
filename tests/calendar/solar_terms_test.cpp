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

// For every year: the list agrees with the single lookup, each term falls in
// its own month, and the steps of the chain are 14 or 15 days, plus one.
TEST(SolarTerms, EveryYearsTermsFormAChainThroughTheirMonths) {
  Date previous{1949, 12, 22};
  for (int16_t year = 1950; year <= 2050; ++year) {
    const auto dates = SolarTermDates(year);
    ASSERT_TRUE(dates.has_value());
    for (int term = 0; term < 24; ++term) {
      SCOPED_TRACE(testing::Message() << year << " term " << term);
      const Date date = TermOf(year, term);
      ASSERT_EQ((*dates)[term], date);
      EXPECT_EQ(date.Year, year);
      EXPECT_EQ(date.Month, term / 2 + 1);
      const int step = DaysFromCivil(date) - DaysFromCivil(previous);
      const int base = term >= 5 && term <= 20 ? 15 : 14;
      EXPECT_TRUE(step == base || step == base + 1);
      previous = date;
    }
  }
}

struct TermCase {
  int Term;
  Date Expected;
};

// The twelve rows that were mended to the astronomical dates, and the terms
// next to them that must not move.
TEST(SolarTerms, MendedRowsGiveTheAstronomicalDates) {
  // clang-format off
  constexpr TermCase cases[] = {
      // 2019, nine terms: 谷雨 小满 夏至 小暑, 处暑 秋分 寒露 小雪, 大雪.
      {7, {2019, 4, 20}}, {9, {2019, 5, 21}}, {11, {2019, 6, 21}}, {12, {2019, 7, 7}},
      {15, {2019, 8, 23}}, {17, {2019, 9, 23}}, {18, {2019, 10, 8}}, {21, {2019, 11, 22}},
      {22, {2019, 12, 7}},
      // Single terms: 秋分 白露 立秋 立秋, 小寒 寒露 处暑 处暑, 处暑 白露 立夏 小满.
      {17, {1955, 9, 24}}, {16, {1961, 9, 8}}, {14, {1977, 8, 7}}, {14, {1981, 8, 7}},
      {0, {1986, 1, 5}}, {18, {1986, 10, 8}}, {15, {1991, 8, 23}}, {15, {1995, 8, 23}},
      {15, {1999, 8, 23}}, {16, {2022, 9, 7}}, {8, {2031, 5, 6}}, {9, {2033, 5, 21}},
      // Each mended row keeps its number of set bits, so the next 小寒 is unmoved.
      {0, {2020, 1, 6}}, {23, {2019, 12, 22}}, {1, {2034, 1, 20}},
      // 2024: 立春 on the 4th, 冬至 on the 21st.
      {2, {2024, 2, 4}}, {23, {2024, 12, 21}}};
  // clang-format on
  for (const TermCase& c : cases) {
    EXPECT_EQ(TermOf(c.Expected.Year, c.Term), c.Expected) << FormatIsoDate(c.Expected);
  }
}

TEST(SolarTerms, YearsWithoutARowAndTermNumbersOutside0To23HaveNoDate) {
  for (const int16_t year :
       {int16_t{1949}, int16_t{2051}, int16_t{0}, std::numeric_limits<int16_t>::min(),
        std::numeric_limits<int16_t>::max()}) {
    EXPECT_FALSE(SolarTermDates(year).has_value()) << year;
  }
  EXPECT_FALSE(SolarTermDate(2051, 0).has_value());
  EXPECT_FALSE(SolarTermDate(1949, 23).has_value());
  EXPECT_FALSE(SolarTermDate(2024, -1).has_value());
  EXPECT_FALSE(SolarTermDate(2024, 24).has_value());
  EXPECT_FALSE(SolarTermDate(2024, std::numeric_limits<int>::min()).has_value());
}

}  // namespace
}  // namespace kelvo
