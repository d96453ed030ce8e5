#include "calendar/date.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvo {
namespace {

TEST(DayNumbers, CountFromTheUnixEpochAndRoundTrip) {
  EXPECT_EQ(DaysFromCivil({1970, 1, 1}), 0);
  EXPECT_EQ(DaysFromCivil({1969, 12, 31}), -1);
  EXPECT_EQ(DaysFromCivil({2000, 3, 1}), 11017);
  EXPECT_EQ(DaysFromCivil({1949, 1, 29}), -7642);
  for (int32_t day = DaysFromCivil({1948, 1, 1}); day <= DaysFromCivil({2052, 12, 31}); ++day) {
    ASSERT_EQ(DaysFromCivil(CivilFromDays(day)), day);
  }
}

TEST(DayNumbers, AddDaysCrossesMonthAndYearEnds) {
  EXPECT_EQ(AddDays({2024, 2, 28}, 1), (Date{2024, 2, 29}));
  EXPECT_EQ(AddDays({2023, 2, 28}, 1), (Date{2023, 3, 1}));
  EXPECT_EQ(AddDays({2050, 12, 31}, 1), (Date{2051, 1, 1}));
  EXPECT_EQ(AddDays({1950, 1, 1}, -6), (Date{1949, 12, 26}));
}

TEST(DayNumbers, ExtremeDayCountsDoNotOverflow) {
  // Meaningless dates, but computed without signed overflow (UBSan checks).
  const Date far = AddDays({2024, 1, 1}, std::numeric_limits<int32_t>::max());
  EXPECT_TRUE(far.Month >= 1 && far.Month <= 12);
  const Date early = CivilFromDays(std::numeric_limits<int32_t>::min());
  EXPECT_TRUE(early.Day >= 1 && early.Day <= 31);
  EXPECT_GE(AddDays({-32768, 1, 1}, std::numeric_limits<int32_t>::min()).Month, 1);
}

TEST(Weekday, CountsFromMonday) {
  EXPECT_EQ(WeekdayFromMonday({2021, 2, 1}), 0);    // Monday
  EXPECT_EQ(WeekdayFromMonday({1950, 1, 1}), 6);    // Sunday
  EXPECT_EQ(WeekdayFromMonday({2050, 12, 1}), 3);   // Thursday
  EXPECT_EQ(WeekdayFromMonday({1969, 12, 31}), 2);  // Wednesday, before the epoch
}

TEST(MonthLengths, FollowTheGregorianLeapRuleAndAreZeroForNoMonth) {
  EXPECT_TRUE(IsGregorianLeapYear(2000));
  EXPECT_TRUE(IsGregorianLeapYear(2024));
  EXPECT_FALSE(IsGregorianLeapYear(2023));
  EXPECT_FALSE(IsGregorianLeapYear(1900));
  EXPECT_FALSE(IsGregorianLeapYear(2100));
  const std::pair<int16_t, int> lengths2024[] = {{2, 29}, {4, 30}, {12, 31},
                                                 {0, 0},  {13, 0}, {-1, 0}};
  for (const auto& [month, days] : lengths2024) {
    EXPECT_EQ(DaysInGregorianMonth(2024, month), days) << month;
  }
  EXPECT_EQ(DaysInGregorianMonth(2023, 2), 28);
}

TEST(ValidDates, RejectImpossibleDays) {
  EXPECT_TRUE(IsValidDate({2024, 2, 29}));
  for (const Date date : {Date{2023, 2, 29}, Date{2024, 4, 31}, Date{2024, 1, 0}, Date{2024, 0, 1},
                          Date{2024, 13, 1}}) {
    EXPECT_FALSE(IsValidDate(date)) << FormatIsoDate(date);
  }
}

TEST(IsoFormat, PadsMonthDayAndYearWithoutOverrunningTheBuffer) {
  const std::pair<Date, const char*> cases[] = {{{2024, 2, 10}, "2024-02-10"},
                                                {{1949, 12, 26}, "1949-12-26"},
                                                {{7, 3, 5}, "0007-03-05"},
                                                {{10000, 1, 1}, "10000-01-01"},
                                                {{-32768, 1, 1}, "-32768-01-01"}};
  for (const auto& [date, text] : cases) EXPECT_EQ(FormatIsoDate(date), text);
  char buffer[kIsoDateBufferSize];
  const size_t length = FormatIsoDate({-32768, -12, -31}, buffer);
  EXPECT_LE(length, kIsoDateBufferSize);
  EXPECT_EQ(std::string(buffer, length), "-32768-12-31");
}

TEST(IsoParse, ReadsARealDateAndRejectsEverythingElse) {
  EXPECT_EQ(ParseIsoDate("2024-02-29"), (Date{2024, 2, 29}));
  EXPECT_EQ(ParseIsoDate("0001-01-01"), (Date{1, 1, 1}));
  EXPECT_EQ(ParseIsoDate("9999-12-31"), (Date{9999, 12, 31}));
  for (const char* text : {"", "2024-2-29", "2023-02-29", "2024-13-01", "2024-00-10", "2024-01-00",
                           "2024-01-32", "0000-01-01", "2024/01/01", "20240101", "2024-01-01 ",
                           " 2024-01-01", "2024-01-0x", "+024-01-01", "2024-01-011"}) {
    EXPECT_FALSE(ParseIsoDate(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace kelvo
