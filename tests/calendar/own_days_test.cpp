#include "calendar/own_days.h"

#include <gtest/gtest.h>

#include "calendar/month_grid.h"

namespace kelvo {
namespace {

OwnDay DayOf(const std::string& line) {
  const DaysParseResult parsed = ParseDaysFile("KELVO-DAYS 1\n" + line);
  EXPECT_EQ(parsed.Fault, "") << line;
  return parsed.Accepted() ? parsed.Days.at(0) : OwnDay{};
}

// Each Gregorian year's occurrences as "date count", against published
// dates (春节, 端午, 中秋, 腊八, the 2020 and 2033 leap months).
TEST(OwnDays, FallInEachGregorianYearByTheirRules) {
  // clang-format off
  const struct { const char* Line; int16_t Year; std::vector<std::string> Falls; } cases[] = {
      {"a 农历 08-15 1956 生日 - - 妈妈", 2026, {"2026-09-25 70"}},
      {"a 农历 08-15 - 生日 - - 妈妈", 2024, {"2024-09-17 0"}},
      {"a 农历 08-15 2026 纪念日 - - 始", 2026, {"2026-09-25 0"}},  // count 0 is not shown
      {"a 农历 04-30 - 纪念日 - - 四月", 2020, {"2020-05-22 0"}},
      {"a 农历 闰04-01 - 纪念日 - - 闰月", 2020, {"2020-05-23 0"}},
      {"a 农历 闰04-30 - 纪念日 - - 闰月", 2020, {"2020-06-20 0"}},     // 闰四月 has 29 days
      {"a 农历 闰04-30 - 纪念日 - - 闰月", 2021, {"2021-06-09 0"}},     // no 闰四月: 四月廿九
      {"a 农历 02-30 - 纪念日 - - 二月", 2023, {"2023-03-21 0"}},       // not in 闰二月
      {"a 农历 闰02-01 2022 纪念日 - - 闰", 2023, {"2023-03-22 1"}},
      {"a 农历 12-30 - 纪念日 - - 除夕", 2025, {"2025-01-28 0"}},       // 腊月 of 2024 has 29
      {"a 农历 12-30 - 纪念日 - - 除夕", 2026, {"2026-02-16 0"}},
      {"a 农历 12-30 - 纪念日 - - 除夕", 2024, {"2024-02-09 0"}},
      {"a 农历 12-30 1948 生日 - - 除夕", 1950, {"1950-02-16 1"}},      // lunar 1949
      {"a 农历 12-08 2000 生日 - - 腊八", 2025, {"2025-01-07 24"}},
      {"a 农历 11-25 - 纪念日 - - 冬月", 2024, {"2024-01-06 0", "2024-12-25 0"}},
      {"a 农历 闰11-15 - 纪念日 - - 闰冬", 2034, {"2034-01-05 0", "2034-12-25 0"}},
      {"a 农历 12-01 - 纪念日 - - 腊月", 2050, {}},  // 2049-12-25, and lunar 2050's in 2051
      {"c 公历 02-29 2008 纪念日 - - 结婚", 2025, {"2025-02-28 17"}},
      {"c 公历 02-29 2008 纪念日 - - 结婚", 2024, {"2024-02-29 16"}},
      {"c 公历 02-29 - 纪念日 - - 结婚", 2100, {}},
      {"c 公历 12-31 1800 纪念日 - - 末", 2050, {"2050-12-31 250"}}};
  // clang-format on
  for (const auto& [line, year, falls] : cases) {
    std::vector<std::string> found;
    for (const Occurrence& o : OccurrencesBetween(DayOf(line), {year, 1, 1}, {year, 12, 31}))
      found.push_back(FormatIsoDate(o.When) + " " + std::to_string(o.Count));
    EXPECT_EQ(found, falls) << line << " in " << year;
  }
  EXPECT_EQ(NextOccurrence(DayOf("a 农历 12-30 - 纪念日 - - 除夕"), {2025, 1, 29})->When,
            (Date{2026, 2, 16}));
  EXPECT_FALSE(NextOccurrence(DayOf("a 农历 12-30 - 纪念日 - - 除夕"), {2050, 1, 23}));
}

TEST(OwnDays, ReadInWordsOnThePanelAndInTheBalloon) {
  const OwnDay mother = DayOf("a1 农历 08-15 1956 生日 0,3 09:00 妈妈");
  EXPECT_EQ(RuleInWords(mother), "农历八月十五");
  EXPECT_EQ(RuleInWords(DayOf("b 农历 闰04-30 - 纪念日 - - 外公忌日")), "农历闰四月三十");
  EXPECT_EQ(RuleInWords(DayOf("c 公历 02-29 - 纪念日 - - 婚")), "公历2月29日");
  EXPECT_EQ(OwnDayPanelLine(mother, {{2026, 9, 25}, 2026, 70}), "妈妈生日 · 70岁");
  EXPECT_EQ(OwnDayPanelLine(DayOf("c 公历 02-29 - 纪念日 - - 结婚纪念日"), {{}, 2024, 16}),
            "结婚纪念日 · 16周年");
  EXPECT_EQ(OwnDayPanelLine(DayOf("d 公历 01-02 - 生日 - - 我的生日"), {}), "我的生日");

  std::vector<DayCell> cells = BuildMonthGrid(2026, 9, {}).DayCells;
  MarkOwnDays({mother, DayOf("e 公历 09-25 - 纪念日 - - 店庆")}, cells);
  for (const DayCell& cell : cells) {
    EXPECT_EQ(cell.OwnDayLines.size(), cell.DateText == "2026-09-25" ? 2u : 0u) << cell.DateText;
  }
  EXPECT_EQ(cells[25].OwnDayNames, (std::vector<std::string>{"妈妈", "店庆"}));
}

// Minutes since 1970-01-01 local time.
int64_t At(Date date, int minute) {
  return DaysFromCivil(date) * int64_t{1440} + minute;
}

TEST(OwnDays, RemindAtTheirTimeAndAMissedOneWhileItsDayIsAhead) {
  const std::vector<OwnDay> days = {DayOf("a1 农历 08-15 1956 生日 0,3 09:00 妈妈")};
  EXPECT_EQ(NextReminderDue(days, At({2026, 9, 1}, 0)), At({2026, 9, 22}, 540));
  EXPECT_EQ(NextReminderDue(days, At({2026, 9, 22}, 540)), At({2026, 9, 25}, 540));
  const std::vector<DueReminder> due =
      RemindersDue(days, At({2026, 9, 1}, 0), At({2026, 9, 24}, 0));
  ASSERT_EQ(due.size(), 1u);  // the machine was off on the 22nd
  EXPECT_EQ(ReminderText(due[0], {2026, 9, 22}), "2026年9月25日 农历八月十五 · 还有3天");
  EXPECT_EQ(ReminderText(due[0], {2026, 9, 24}), "2026年9月25日 农历八月十五 · 还有1天");
  EXPECT_TRUE(RemindersDue(days, At({2026, 9, 1}, 0), At({2026, 9, 26}, 0)).empty());
  const auto onTheDay = RemindersDue(days, At({2026, 9, 22}, 540), At({2026, 9, 25}, 540));
  ASSERT_EQ(onTheDay.size(), 1u);
  EXPECT_EQ(ReminderText(onTheDay[0], {2026, 9, 25}), "2026年9月25日 农历八月十五 · 今天");
  // Due together, they share one balloon rather than hide each other.
  const std::vector<OwnDay> two = {days[0], DayOf("b2 公历 09-25 - 纪念日 3 09:00 店庆")};
  const ReminderBalloon both =
      BalloonFor(two, RemindersDue(two, At({2026, 9, 1}, 0), At({2026, 9, 23}, 0)), {2026, 9, 23});
  EXPECT_EQ(both.Title, "妈妈 等2项");
  EXPECT_EQ(
      both.Text,
      "妈妈：2026年9月25日 农历八月十五 · 还有2天\n店庆：2026年9月25日 农历八月十五 · 还有2天");
}

TEST(DaysFile, RefusesAnyBrokenRuleWholeWithItsLineAndWritesBackWhatItReads) {
  const std::string head = "KELVO-DAYS 1\n";
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"", "第1行：不是“KELVO-DAYS 1”"}, {"\xEF\xBB\xBFKELVO-DAYS 1\n", "第1行：不是“KELVO-DAYS 1”"},
      {head + "\n", "第2行：空行"}, {head + "a 农历 08-15 - 生日 - -\n", "第2行：不足八项（以单个空格分隔）"},
      {head + "A 农历 08-15 - 生日 - - x", "第2行：编号须为1至12个小写字母或数字"},
      {head + "a  农历 08-15 - 生日 - - x", "第2行：历法须为农历或公历"},
      {head + "a 农历 8-15 - 生日 - - x", "第2行：日期须为MM-DD或闰MM-DD"},
      {head + "a 农历 13-01 - 生日 - - x", "第2行：月份须为1至12"},
      {head + "a 农历 08-31 - 生日 - - x", "第2行：农历日须为初一至三十"},
      {head + "a 公历 04-31 - 生日 - - x", "第2行：公历4月没有31日"},
      {head + "a 公历 闰04-01 - 生日 - - x", "第2行：公历没有闰月"},
      {head + "a 农历 08-15 1799 生日 - - x", "第2行：起始年须为1800至2050"},
      {head + "a 农历 08-15 56 生日 - - x", "第2行：起始年须为四位数字或-"},
      {head + "a 农历 08-15 - 寿 - - x", "第2行：类别须为生日或纪念日"},
      {head + "a 农历 08-15 - 生日 0,,3 09:00 x", "第2行：提醒须为-或以逗号分隔的提前天数"},
      {head + "a 农历 08-15 - 生日 03 09:00 x", "第2行：提醒须为-或以逗号分隔的提前天数"},
      {head + "a 农历 08-15 - 生日 31 09:00 x", "第2行：提前天数须为0至30"},
      {head + "a 农历 08-15 - 生日 3,3 09:00 x", "第2行：提前天数重复"},
      {head + "a 农历 08-15 - 生日 3 - x", "第2行：提醒与时间须同时给出或同时为-"},
      {head + "a 农历 08-15 - 生日 - 09:00 x", "第2行：提醒与时间须同时给出或同时为-"},
      {head + "a 农历 08-15 - 生日 0 24:00 x", "第2行：时间须为HH:MM或-"},
      {head + "a 农历 08-15 - 生日 - - x ", "第2行：名称须为1至32个字符，无控制字符，首尾无空格"},
      {head + "a 农历 08-15 - 生日 - - x\r", "第2行：名称须为1至32个字符，无控制字符，首尾无空格"},
      {head + "a 农历 08-15 - 生日 - - " + std::string(33, 'x'), "第2行：名称须为1至32个字符，无控制字符，首尾无空格"},
      {head + "a 农历 08-15 - 生日 - - \xC0\xAF", "第2行：名称须为1至32个字符，无控制字符，首尾无空格"},
      {head + "a 公历 01-01 - 生日 - - x\r\na 公历 01-02 - 生日 - - y", "第3行：编号a重复"},
      {head + std::string(kMaxDaysFileBytes, 'x'), "文件大于256 KiB"}};
  // clang-format on
  for (const auto& [bytes, fault] : cases) {
    const DaysParseResult parsed = ParseDaysFile(bytes);
    EXPECT_EQ(parsed.Fault, fault) << bytes.substr(0, 80);
    EXPECT_TRUE(parsed.Days.empty());
  }
  std::string many = head;
  for (int i = 0; i <= 1000; ++i) many += std::to_string(i) + " 公历 01-01 - 生日 - - x\n";
  EXPECT_EQ(ParseDaysFile(many).Fault, "第1002行：多于1000个日子");

  const std::string file = head +
                           "a1 农历 08-15 1956 生日 0,3 09:00 妈妈\r\n"
                           "b2 农历 闰04-30 - 纪念日 0 08:30 外公 忌日\n"
                           "c3 公历 02-29 2008 纪念日 - - 结婚纪念日\n";
  const DaysParseResult parsed = ParseDaysFile(file);
  ASSERT_EQ(parsed.Days.size(), 3u);
  EXPECT_EQ(parsed.Days[1].Name, "外公 忌日");
  EXPECT_EQ(parsed.Days[0].RemindMinute, 540);
  EXPECT_EQ(ParseDaysFile(FormatDaysFile(parsed.Days)).Days, parsed.Days);
  const std::string id = NewOwnDayId(parsed.Days);
  EXPECT_EQ(ValidateOwnDay(OwnDay{.Id = id, .RemindDaysBefore = {}, .Name = "x"}), "");
}

TEST(DaysICalendar, FoldsEscapesAndNamesEachOccurrenceStably) {
  const std::vector<OwnDay> days = {
      DayOf("a1 农历 08-15 1956 生日 0,3 09:00 妈妈"),
      DayOf("z 公历 02-29 - 纪念日 1 23:30 a,b;c\\d 这是一个很长的名字需要折行才能放得下二十")};
  const std::string ics = WriteDaysICalendar(days, 2025, 2, "20261207T083000Z");
  const std::string event2026 =
      "BEGIN:VEVENT\r\nUID:a1-2026@days.kelvo-calendar\r\nDTSTAMP:20261207T083000Z\r\n"
      "DTSTART;VALUE=DATE:20260925\r\nDTEND;VALUE=DATE:20260926\r\nSUMMARY:妈妈生日 · 70岁\r\n"
      "DESCRIPTION:农历八月十五\r\nTRANSP:TRANSPARENT\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\n"
      "DESCRIPTION:妈妈生日 · 70岁\r\nTRIGGER:PT9H\r\nEND:VALARM\r\nBEGIN:VALARM\r\n"
      "ACTION:DISPLAY\r\nDESCRIPTION:妈妈生日 · 70岁\r\nTRIGGER:-P2DT15H\r\nEND:VALARM\r\n"
      "END:VEVENT\r\n";
  EXPECT_NE(ics.find(event2026), std::string::npos);
  EXPECT_TRUE(ics.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
  EXPECT_TRUE(ics.ends_with("END:VEVENT\r\nEND:VCALENDAR\r\n"));
  // At most 75 octets a line, cut before a three-byte character rather than
  // through it.
  EXPECT_NE(ics.find("SUMMARY:a\\,b\\;c\\\\d 这是一个很长的名字需要折行才能放得下\r\n 二十\r\n"),
            std::string::npos);
  EXPECT_NE(ics.find("TRIGGER:-PT30M\r\n"), std::string::npos);
  EXPECT_EQ(ics.find("RRULE"), std::string::npos);
  EXPECT_EQ(ics.find("20270925"), std::string::npos);
  for (const char* uid : {"UID:a1-2025@", "UID:z-2025@", "UID:z-2026@"})
    EXPECT_NE(ics.find(uid), std::string::npos) << uid;
  EXPECT_NE(WriteDaysICalendar(days, 2026, 20, "x").find("UID:a1-2026@days.kelvo-calendar\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace kelvo
