#include "tools/month_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace kelvo::month_tool {
namespace {

struct ToolRun {
  int Status;
  std::string Out, Err;
  std::vector<std::string> Lines;
};

constexpr const char* kDays = KELVO_SOURCE_DIR "/tests/fuzz/corpus/days_file_fuzzer/example";

// The program with 2024-02-10 as the local date.
ToolRun RunTool(std::vector<std::string_view> args, bool colour = false) {
  std::ostringstream out, err;
  const int status = RunMonthTool(args, Date{2024, 2, 10}, colour, out, err);
  ToolRun run{status, out.str(), err.str(), {}};
  std::istringstream in(run.Out);
  for (std::string line; std::getline(in, line);) run.Lines.push_back(line);
  return run;
}

TEST(Arguments, BadInputGivesOneLineOnStderrStatus2AndNothingOnStdout) {
  const std::string form = "is not a real date of the form YYYY-MM-DD";
  // clang-format off
  const std::pair<std::vector<std::string_view>, std::string> cases[] = {
      {{"--tsv"}, "missing YEAR (see --help)"},
      {{"abc"}, "YEAR must be a number, got 'abc'"}, {{""}, "YEAR must be a number, got ''"},
      {{" 2024\n\x1b"}, "YEAR must be a number, got ' 2024\\x0a\\x1b'"},
      {{"1949"}, "YEAR must be from 1950 to 2050, got 1949"},
      {{"2051", "1"}, "YEAR must be from 1950 to 2050, got 2051"},
      {{"99999999999999999999999"}, "YEAR must be from 1950 to 2050, got 99999999999999999999999"},
      {{"2024", "0"}, "MONTH must be from 1 to 12, got 0"},
      {{"2024", "13"}, "MONTH must be from 1 to 12, got 13"},
      {{"2024", "1.5"}, "MONTH must be a number, got '1.5'"},
      {{"2024", "-1"}, "unknown option '-1' (see --help)"},
      {{"--colour", "2024"}, "unknown option '--colour' (see --help)"},
      {{"2024", "2", "3"}, "unexpected argument '3'"},
      {{"--today=", "2024"}, "--today: '' " + form}, {{"--today", "2023-02-29", "2024"}, "--today: '2023-02-29' " + form},
      {{"2024", "--today"}, "--today needs a date of the form YYYY-MM-DD"},
      {{"2027", "--holidays"}, "--holidays needs a file"},
      {{"--holidays", "/nonexistent/holidays.txt", "2027"}, "'/nonexistent/holidays.txt': cannot be read"},
      {{"--holidays", KELVO_SOURCE_DIR "/README.md", "2027"}, "'" KELVO_SOURCE_DIR "/README.md': line 1: not \"KELVO-HOLIDAYS 1\""},
      {{"2027", "--days"}, "--days needs a file"}, {{"--ics", "2026"}, "--ics needs --days FILE"},
      {{"--days", KELVO_SOURCE_DIR "/README.md", "2027"}, "'" KELVO_SOURCE_DIR "/README.md': 第1行：不是“KELVO-DAYS 1”"},
      {{"--days", kDays, "--ics", "2026", "0"}, "COUNT must be from 1 to 101, got 0"},
      {{"--days", kDays, "--ics", "2026", "x"}, "COUNT must be a number, got 'x'"}};
  // clang-format on
  for (const auto& [args, message] : cases) {
    const ToolRun run = RunTool(args);
    EXPECT_EQ(std::tie(run.Status, run.Out, run.Err),
              std::tuple(2, "", "kelvo-month: " + message + "\n"));
  }
  for (const ToolRun& help :
       {RunTool({"--help"}), RunTool({"2024", "13", "--help"}), RunTool({"-h"})}) {
    EXPECT_EQ(std::tie(help.Status, help.Err, help.Out), std::tuple(0, "", UsageText()));
  }
}

TEST(Output, TsvHasAHeaderThenOneLinePerCellAndTheGridLooksLikeTheFace) {
  const ToolRun month = RunTool({"2024", "--today", "2024-03-03", "02", "--tsv"});
  ASSERT_EQ(month.Status, 0);
  EXPECT_EQ(month.Err, "");
  ASSERT_EQ(month.Lines.size(), 36u);
  EXPECT_EQ(month.Lines[0],
            "year\tmonth\tindex\tdate\tday\tlunar_year\tlunar_month\tlunar_day\tlabel\tother\t"
            "festival_or_term\ttoday\tholiday");
  EXPECT_EQ(month.Lines[1], "2024\t2\t0\t2024-01-29\t29\t癸卯年\t腊月\t十九\t十九\t1\t0\t0\t");
  EXPECT_EQ(month.Lines[7], "2024\t2\t6\t2024-02-04\t4\t癸卯年\t腊月\t廿五\t立春\t0\t1\t0\t班");
  EXPECT_EQ(month.Lines[13], "2024\t2\t12\t2024-02-10\t10\t甲辰年\t正月\t初一\t春节\t0\t1\t0\t休");
  EXPECT_EQ(month.Lines[35], "2024\t2\t34\t2024-03-03\t3\t甲辰年\t正月\t廿三\t爱耳日\t1\t1\t1\t");
  EXPECT_EQ(RunTool({"--tsv", "--today=2024-03-03", "2024", "2"}).Out, month.Out);
  // A whole year under one header, with the local date as today.
  const ToolRun year = RunTool({"--tsv", "02024"});
  ASSERT_EQ(year.Lines.size(), 1u + 35 * 10 + 42 * 2);  // September and December need 42
  const auto headerOrToday = [](const std::string& l) {
    return l.starts_with("year") || l.substr(0, l.rfind('\t')).ends_with("\t1");
  };
  EXPECT_EQ(std::count_if(year.Lines.begin(), year.Lines.end(), headerOrToday), 2);
  EXPECT_EQ(year.Lines[48], "2024\t2\t12\t2024-02-10\t10\t甲辰年\t正月\t初一\t春节\t0\t1\t1\t休");
  EXPECT_EQ(year.Lines.back(), "2024\t12\t41\t2025-01-05\t5\t甲辰年\t腊月\t初六\t小寒\t1\t1\t0\t");

  // Without --tsv, the face as text; colours only where asked for.
  const ToolRun run = RunTool({"2024", "2"});
  ASSERT_EQ(run.Lines.size(), 2u + 5 * 2);
  EXPECT_EQ(run.Lines[0], "                      2024年2月  甲辰年 【龙年】");
  EXPECT_EQ(run.Lines[1], "    一        二        三        四        五        六        日");
  EXPECT_EQ(run.Lines[2], "    29        30        31         1         2         3        4班");
  EXPECT_EQ(run.Lines[3], "   十九      二十      廿一      廿二     祭灶节     廿四      立春");
  EXPECT_EQ(run.Lines[4], "     5         6         7         8         9      [10]休     11休");
  EXPECT_EQ(run.Lines[5], "   廿六      廿七      廿八      廿九      除夕      春节      初二");
  EXPECT_EQ(run.Out.find('\x1b'), std::string::npos);
  const ToolRun colour = RunTool({"2024", "2"}, /*colour=*/true);
  // Saturday and Sunday, term, neighbour, today and plain lunar day.
  for (const char* piece : {"\x1b[31m     3    \x1b[0m", "\x1b[31m    4班\x1b[0m",
                            "\x1b[31m   雨水   \x1b[0m", "\x1b[2m    29    \x1b[0m",
                            "\x1b[1;97;43m  [10]休  \x1b[0m", "\x1b[90m   廿六   \x1b[0m"}) {
    EXPECT_NE(colour.Out.find(piece), std::string::npos) << piece;
  }
  // The demo site's holiday file holds the built-in years: the same marks.
  const std::string demo = KELVO_SOURCE_DIR "/tools/demo-site/holidays.txt";
  EXPECT_EQ(RunTool({"--tsv", "--holidays", demo, "2024"}).Out, year.Out);
  const ToolRun all = RunTool({"2050"});  // twelve months, a blank line between two
  EXPECT_EQ(std::count(all.Lines.begin(), all.Lines.end(), ""), 11);
}

TEST(Output, OwnDaysMarkTheGridFillTheLastTsvColumnAndExportAsICalendar) {
  const ToolRun tsv = RunTool({"--days", kDays, "--tsv", "2026", "9"});
  EXPECT_TRUE(tsv.Lines.at(0).ends_with("\tholiday\tdays"));
  EXPECT_EQ(tsv.Lines.at(26),
            "2026\t9\t25\t2026-09-25\t25\t丙午年\t八月\t十五\t中秋节\t0\t1\t0\t休\t妈妈");
  EXPECT_EQ(
      std::count_if(tsv.Lines.begin(), tsv.Lines.end(), [](auto& l) { return l.ends_with("\t"); }),
      34);
  EXPECT_EQ(RunTool({"--days", kDays, "2026", "9"}).Lines.at(9),
            "   十一      十二      秋分      十四    中秋节*     十六      十七");
  const ToolRun ics = RunTool({"--today", "2026-12-07", "--days", kDays, "--ics", "2026"});
  EXPECT_EQ(ics.Status, 0);
  EXPECT_TRUE(ics.Out.starts_with("BEGIN:VCALENDAR\r\n"));
  EXPECT_EQ(std::count(ics.Lines.begin(), ics.Lines.end(), "BEGIN:VEVENT\r"), 3 * 20);
  EXPECT_NE(ics.Out.find("UID:b2-2045@days.kelvo-calendar\r\nDTSTAMP:20261207T000000Z\r\n"),
            std::string::npos);
  const ToolRun last = RunTool({"--days", kDays, "--ics", "2050", "3"});  // never past 2050
  EXPECT_EQ(std::count(last.Lines.begin(), last.Lines.end(), "BEGIN:VEVENT\r"), 3);
}

}  // namespace
}  // namespace kelvo::month_tool
