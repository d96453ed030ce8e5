#include "calendar/festivals.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvo {
namespace {

constexpr int16_t kLowest = std::numeric_limits<int16_t>::min();
constexpr int16_t kHighest = std::numeric_limits<int16_t>::max();

struct SolarCase {
  int16_t Year, Month, Day;
  const char* Name;
};

TEST(SolarFestivals, GiveTheNameOfTheDayOrNothing) {
  // clang-format off
  constexpr SolarCase cases[] = {
      {2024, 1, 1, "元旦"}, {2024, 3, 15, "消权日"}, {2024, 5, 18, "博物馆日"},  // fixed dates
      {2024, 6, 5, "环境日"}, {2024, 12, 25, "圣诞节"}, {2024, 1, 2, ""}, {2024, 2, 29, ""},
      {1950, 10, 14, "标准日"}, {1950, 11, 17, "大学生节"},  // from 1947 and 1946
      {1988, 9, 20, ""}, {1989, 9, 20, "爱牙日"},            // rows with a from-year
      {1989, 11, 11, ""}, {1990, 11, 11, "光棍节"}, {2000, 12, 4, ""}, {2001, 12, 4, "法制日"},
      {1997, 10, 8, ""}, {1998, 10, 8, "高血压日"}, {1999, 11, 8, ""}, {2000, 11, 8, "记者日"},
      {1977, 12, 9, ""}, {1978, 12, 9, "足球日"},
      {2019, 5, 12, "母亲节"}, {2024, 5, 12, "母亲节"},  // second Sunday of May ...
      {2025, 5, 11, "母亲节"}, {2025, 5, 12, "护士节"},  // ... wins over the fixed date
      {2025, 5, 4, "青年节"},                            // the first Sunday has no rule
      {2022, 5, 8, "母亲节"}, {2022, 5, 1, "劳动节"},    // May 2022 starts on a Sunday
      {2024, 6, 16, "父亲节"}, {2020, 6, 21, "父亲节"}, {2024, 6, 9, ""},  // third Sunday of June
      {1950, 8, 8, "爸爸节"}, {2050, 8, 8, "爸爸节"},                      // every August 8th
      {2024, 0, 1, ""}, {2024, 13, 1, ""}, {2024, -1, 1, ""},              // impossible dates
      {2024, 1, 0, ""}, {2024, 1, 32, ""}, {2024, 5, -3, ""},
      {kLowest, kLowest, kLowest, ""}, {kHighest, kHighest, kHighest, ""},
      {kLowest, 1, 1, "元旦"}, {kLowest, 9, 20, ""}};
  // clang-format on
  for (const SolarCase& c : cases) {
    EXPECT_EQ(GetSolarFestival(c.Year, c.Month, c.Day), c.Name)
        << c.Year << "-" << c.Month << "-" << c.Day;
  }
}

struct LunarCase {
  int16_t Month, Day, MonthLength;
  const char* Name;
};

TEST(LunarFestivals, GiveTheNameOfTheLunarDayOrNothing) {
  // clang-format off
  constexpr LunarCase cases[] = {
      {1, 1, 30, "春节"}, {1, 15, 29, "元宵节"}, {2, 2, 30, "龙头节"}, {5, 5, 29, "端午节"},
      {7, 7, 30, "七夕节"}, {7, 15, 30, "中元节"}, {8, 15, 29, "中秋节"}, {9, 9, 30, "重阳节"},
      {10, 15, 29, "下元节"}, {12, 8, 30, "腊八节"}, {12, 23, 29, "祭灶节"},
      {12, 30, 30, "除夕"}, {12, 29, 29, "除夕"},  // the last day of the twelfth month
      {12, 29, 30, ""}, {11, 30, 30, ""},
      {-5, 5, 29, ""}, {-1, 1, 30, ""}, {-12, 30, 30, ""},  // none in a leap month
      {0, 1, 30, ""}, {13, 1, 30, ""}, {12, 0, 0, ""},      // impossible arguments
      {12, -1, -1, ""}, {1, 31, 30, ""}};
  // clang-format on
  for (const LunarCase& c : cases) {
    EXPECT_EQ(GetLunarFestival(c.Month, c.Day, c.MonthLength), c.Name)
        << c.Month << "/" << c.Day << " of " << c.MonthLength;
  }
}

}  // namespace
}  // namespace kelvo
