#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace kelvo {
namespace {

// The generator's unpacked list of the package's marked dates:
// "date<TAB>休|班<TAB>festival" per line.
std::map<Date, std::pair<std::string, std::string>> PackageDates() {
  std::ifstream in(KELVO_SOURCE_DIR "/tests/calendar/holiday_dates.txt");
  std::map<Date, std::pair<std::string, std::string>> dates;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("#")) continue;
    std::istringstream fields(line);
    std::string date, mark, festival;
    std::getline(std::getline(std::getline(fields, date, '\t'), mark, '\t'), festival);
    dates[ParseIsoDate(date).value()] = {mark, festival};
  }
  return dates;
}

TEST(Holidays, EveryDateAroundTheScheduleMatchesThePackageAndBadDatesHaveNoMark) {
  const auto expected = PackageDates();
  ASSERT_FALSE(expected.empty()) << "tests/calendar/holiday_dates.txt unreadable";
  ASSERT_EQ(expected.begin()->first, (Date{2004, 1, 1}));
  const int lastYear = expected.rbegin()->first.Year;
  ASSERT_GE(lastYear, 2026);
  for (Date date{2003, 1, 1}; date.Year <= lastYear + 1; date = AddDays(date, 1)) {
    const auto row = expected.find(date);
    const Holiday holiday = HolidayOf(date);
    ASSERT_EQ(HolidayMarkText(holiday.Mark), row == expected.end() ? "" : row->second.first)
        << FormatIsoDate(date);
    ASSERT_EQ(holiday.Festival, row == expected.end() ? "" : row->second.second);
  }
  for (const Date date : {Date{2025, 10, 0}, Date{2025, 10, 32}, Date{2025, 13, 1},
                          Date{2025, 2, 29}, Date{1950, 10, 1}, Date{-32768, 1, 1}}) {
    EXPECT_EQ(HolidayOf(date).Mark, HolidayMark::None) << date.Year << "-" << date.Month;
  }
}

struct SpotCase {
  Date First;
  int Days;
  HolidayMark Mark;
  const char* Festival;
};

TEST(Holidays, PublishedSchedulesOf2024To2026) {
  constexpr HolidayMark Off = HolidayMark::DayOff, Work = HolidayMark::Workday,
                        None = HolidayMark::None;
  const SpotCase cases[] = {{{2024, 2, 3}, 1, None, ""},         {{2024, 2, 4}, 1, Work, "春节"},
                            {{2024, 2, 5}, 5, None, ""},         {{2024, 2, 10}, 8, Off, "春节"},
                            {{2024, 2, 18}, 1, Work, "春节"},    {{2024, 2, 19}, 1, None, ""},
                            {{2025, 9, 28}, 1, Work, "国庆节"},  {{2025, 9, 29}, 2, None, ""},
                            {{2025, 10, 1}, 5, Off, "国庆节"},   {{2025, 10, 6}, 1, Off, "中秋"},
                            {{2025, 10, 7}, 2, Off, "国庆节"},   {{2025, 10, 9}, 2, None, ""},
                            {{2025, 10, 11}, 1, Work, "国庆节"}, {{2026, 1, 1}, 3, Off, "元旦"},
                            {{2026, 1, 4}, 1, Work, "元旦"}};
  for (const SpotCase& c : cases) {
    for (Date date = c.First; date < AddDays(c.First, c.Days); date = AddDays(date, 1)) {
      EXPECT_EQ(HolidayOf(date).Mark, c.Mark) << FormatIsoDate(date);
      EXPECT_EQ(HolidayOf(date).Festival, c.Festival) << FormatIsoDate(date);
    }
  }
}

}  // namespace
}  // namespace kelvo
