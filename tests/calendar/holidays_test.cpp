#include "calendar/holidays.h"

#include "calendar/holiday_file.h"

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

constexpr const char* kVictoryDay = "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日";

struct SpotCase {
  Date First;
  int Days;
  HolidayMark Mark;
  const char* Festival;
};

// 2024 to 2026, and the four days the package misses that the notices name.
TEST(Holidays, PublishedSchedulesAndTheMendedDays) {
  constexpr HolidayMark Off = HolidayMark::DayOff, Work = HolidayMark::Workday,
                        None = HolidayMark::None;
  // clang-format off
  const SpotCase cases[] = {
      {{2024, 2, 3}, 1, None, ""}, {{2024, 2, 4}, 1, Work, "春节"}, {{2024, 2, 5}, 5, None, ""},
      {{2024, 2, 10}, 8, Off, "春节"}, {{2024, 2, 18}, 1, Work, "春节"}, {{2024, 2, 19}, 1, None, ""},
      {{2025, 9, 28}, 1, Work, "国庆节"}, {{2025, 9, 29}, 2, None, ""}, {{2025, 10, 1}, 5, Off, "国庆节"},
      {{2025, 10, 6}, 1, Off, "中秋节"}, {{2025, 10, 7}, 2, Off, "国庆节"}, {{2025, 10, 9}, 2, None, ""},
      {{2025, 10, 11}, 1, Work, "国庆节"}, {{2026, 1, 1}, 3, Off, "元旦"}, {{2026, 1, 4}, 1, Work, "元旦"},
      {{2005, 12, 31}, 1, Work, "元旦"}, {{2011, 6, 4}, 3, Off, "端午节"}, {{2012, 6, 22}, 3, Off, "端午节"},
      {{2015, 9, 3}, 3, Off, kVictoryDay}, {{2015, 9, 6}, 1, Work, kVictoryDay}};
  // clang-format on
  for (const SpotCase& c : cases) {
    for (Date date = c.First; date < AddDays(c.First, c.Days); date = AddDays(date, 1)) {
      EXPECT_EQ(HolidayOf(date).Mark, c.Mark) << FormatIsoDate(date);
      EXPECT_EQ(HolidayOf(date).Festival, c.Festival) << FormatIsoDate(date);
    }
  }
}

constexpr std::string_view kFile =
    "KELVO-HOLIDAYS 1\r\nSERIAL 2026120701\r\nYEAR 2027\r\n2027-02-06 班 春节\r\n"
    "2027-01-01 休 元旦\r\nYEAR 2025\r\n";

TEST(HolidayFile, DeclaredYearsReplaceTheTableAndOtherYearsKeepIt) {
  const HolidayFile expected{
      2026120701,
      {2025, 2027},
      {{{2027, 1, 1}, HolidayMark::DayOff, "元旦"}, {{2027, 2, 6}, HolidayMark::Workday, "春节"}}};
  ASSERT_EQ(ParseHolidayFile(kFile), expected);
  const HolidaySchedule schedule(expected);
  EXPECT_EQ(schedule.Of({2027, 2, 6}).Festival, "春节");
  EXPECT_EQ(schedule.Of({2025, 10, 1}).Mark, HolidayMark::None) << "a declared year without days";
  EXPECT_EQ(schedule.Of({2026, 1, 4}).Festival, "元旦") << "the table's";
  // LF line ends, none at the end, and a name of 16 characters.
  EXPECT_TRUE(ParseHolidayFile(
      "KELVO-HOLIDAYS 1\nSERIAL 1\nYEAR 2050\n2050-01-01 休 一二三四五六七八九十一二三四五六"));
}

// Each is refused whole, so the program keeps the marks it shows; the
// fault names the rule.
TEST(HolidayFile, BadFilesAreRefusedWhole) {
  const std::string head = "KELVO-HOLIDAYS 1\nSERIAL 7\nYEAR 2027\n", day = head + "2027-02-08 ";
  // clang-format off
  const std::pair<std::string, const char*> cases[] = {
      {"KELVO-HOLIDAYS 2\nSERIAL 7\nYEAR 2027\n", "line 1"}, {"\xEF\xBB\xBF" + head, "line 1"}, {"", "line 1"},
      {"<html><body>Wi-Fi login</body></html>", "line 1"} /* a captive portal */,
      {"KELVO-HOLIDAYS 1\nSERIAL 0\nYEAR 2027", "SERIAL"}, {"KELVO-HOLIDAYS 1\nSERIAL 7\n", "no YEAR"},
      {"KELVO-HOLIDAYS 1\nSERIAL 1234567890123456789\nYEAR 2027", "SERIAL"}, {head + "YEAR 2051\n", "1950"},
      {head + "2026-10-01 休 国庆节\n", "outside"}, {day + "班 春节\n", "weekday"},
      {day + "休 春节\n2027-02-08 休 春节\n", "line 5: date comes twice"}, {day + "放 春节\n", "mark"},
      {head + "2027-02-30 休 春节\n", "real date"}, {head + "2027-02-0", "real date"} /* cut short */,
      {day + "休 一二三四五六七八九十一二三四五六七\n", "name"}, {day + "休 春\t节\n", "name"},
      {day + "休 \xE6\x98\n", "name"}, {day + "休  春节\n", "name"}, {head + "\n", "line 4: empty"},
      {day + "休 春节\n\n", "line 5: empty"}, {head + std::string(kMaxHolidayFileBytes + 1 - head.size(), 'x'), "64 KiB"}};
  // clang-format on
  for (const auto& [bytes, fault] : cases) {
    EXPECT_FALSE(ParseHolidayFile(bytes)) << fault;
    EXPECT_NE(HolidayFileFault(bytes).find(fault), std::string::npos) << HolidayFileFault(bytes);
  }
  // An accepted file's empty fault and its SERIAL rule: tests/fuzz/holiday_file_fuzzer.
}

}  // namespace
}  // namespace kelvo
