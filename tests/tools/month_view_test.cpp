#include "tools/month_view.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace kelvo::month_tool {
namespace {

constexpr Date kLocalToday{2024, 2, 10};

struct ToolRun {
  int Status;
  std::string Out;
  std::string Err;
};

ToolRun RunWith(std::vector<std::string_view> args, bool colour = false) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunMonthTool(args, kLocalToday, colour, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct GoodInput {
  std::vector<std::string_view> Args;
  bool Tsv;
  std::optional<Date> Today;
  int16_t Year, Month;
};

TEST(Arguments, OptionsInAnyPlaceBothTodayFormsAndLeadingZeros) {
  const GoodInput cases[] = {
      {{"2024", "2"}, false, std::nullopt, 2024, 2},
      {{"2050", "--today", "2050-12-31", "12", "--tsv"}, true, Date{2050, 12, 31}, 2050, 12},
      {{"--today=1999-01-02", "1950"}, false, Date{1999, 1, 2}, 1950, 0},
      {{"02024", "02"}, false, std::nullopt, 2024, 2},
  };
  for (const GoodInput& c : cases) {
    const ParseResult parsed = ParseArguments(c.Args);
    ASSERT_TRUE(parsed.Value.has_value()) << parsed.Error;
    EXPECT_FALSE(parsed.Value->Help);
    EXPECT_EQ(parsed.Value->Tsv, c.Tsv);
    EXPECT_EQ(parsed.Value->Today, c.Today);
    EXPECT_EQ(parsed.Value->Year, c.Year);
    EXPECT_EQ(parsed.Value->Month, c.Month);
  }
}

struct BadInput {
  std::vector<std::string_view> Args;
  const char* Message;
};

TEST(BadInput, GivesOneLineOnStderrStatus2AndNothingOnStdout) {
  const BadInput cases[] = {
      {{}, "kelvo-month: missing YEAR (see --help)\n"},
      {{"--tsv"}, "kelvo-month: missing YEAR (see --help)\n"},
      {{"abc"}, "kelvo-month: YEAR must be a number, got 'abc'\n"},
      {{"2024x"}, "kelvo-month: YEAR must be a number, got '2024x'\n"},
      {{""}, "kelvo-month: YEAR must be a number, got ''\n"},
      {{" 2024"}, "kelvo-month: YEAR must be a number, got ' 2024'\n"},
      {{"1949"}, "kelvo-month: YEAR must be from 1950 to 2050, got 1949\n"},
      {{"2051", "1"}, "kelvo-month: YEAR must be from 1950 to 2050, got 2051\n"},
      {{"99999999999999999999999"},
       "kelvo-month: YEAR must be from 1950 to 2050, got 99999999999999999999999\n"},
      {{"2024", "0"}, "kelvo-month: MONTH must be from 1 to 12, got 0\n"},
      {{"2024", "13"}, "kelvo-month: MONTH must be from 1 to 12, got 13\n"},
      {{"2024", "1.5"}, "kelvo-month: MONTH must be a number, got '1.5'\n"},
      {{"2024", "-1"}, "kelvo-month: unknown option '-1' (see --help)\n"},
      {{"2024", "2", "3"}, "kelvo-month: unexpected argument '3'\n"},
      {{"--colour", "2024"}, "kelvo-month: unknown option '--colour' (see --help)\n"},
      {{"2024", "--today"}, "kelvo-month: --today needs a date of the form YYYY-MM-DD\n"},
      {{"--today", "2024-2-10", "2024"},
       "kelvo-month: --today: '2024-2-10' is not a real date of the form YYYY-MM-DD\n"},
      {{"--today", "2023-02-29", "2024"},
       "kelvo-month: --today: '2023-02-29' is not a real date of the form YYYY-MM-DD\n"},
      {{"--today=", "2024"},
       "kelvo-month: --today: '' is not a real date of the form YYYY-MM-DD\n"},
  };
  for (const BadInput& c : cases) {
    const ToolRun run = RunWith(c.Args);
    EXPECT_EQ(run.Status, 2) << c.Message;
    EXPECT_EQ(run.Out, "") << c.Message;
    EXPECT_EQ(run.Err, c.Message);
  }
}

TEST(Help, PrintsUsageAndSucceedsWhateverElseIsGiven) {
  for (std::vector<std::string_view> args :
       {std::vector<std::string_view>{"--help"}, {"2024", "13", "--help"}, {"-h"}}) {
    const ToolRun run = RunWith(args);
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, UsageText());
  }
  EXPECT_NE(UsageText().find("kelvo-month [--tsv] [--today YYYY-MM-DD] YEAR [MONTH]"),
            std::string_view::npos);
  EXPECT_NE(UsageText().find("festival_or_term"), std::string_view::npos);
}

TEST(Tsv, HeaderThenOneLinePerCell) {
  const ToolRun run = RunWith({"--tsv", "--today", "2024-03-03", "2024", "2"});
  ASSERT_EQ(run.Status, 0);
  EXPECT_EQ(run.Err, "");
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0],
            "year\tmonth\tindex\tdate\tday\tlunar_year\tlunar_month\tlunar_day\tlabel\tother\t"
            "festival_or_term\ttoday\tholiday");
  EXPECT_EQ(lines[1], "2024\t2\t0\t2024-01-29\t29\t癸卯年\t腊月\t十九\t十九\t1\t0\t0\t");
  EXPECT_EQ(lines[1 + 6], "2024\t2\t6\t2024-02-04\t4\t癸卯年\t腊月\t廿五\t立春\t0\t1\t0\t班");
  EXPECT_EQ(lines[1 + 12], "2024\t2\t12\t2024-02-10\t10\t甲辰年\t正月\t初一\t春节\t0\t1\t0\t休");
  EXPECT_EQ(lines[35], "2024\t2\t34\t2024-03-03\t3\t甲辰年\t正月\t廿三\t爱耳日\t1\t1\t1\t");
}

TEST(Tsv, WholeYearPrintsTwelveGridsUnderOneHeader) {
  const ToolRun run = RunWith({"--tsv", "2024"});
  ASSERT_EQ(run.Status, 0);
  const std::vector<std::string> lines = Lines(run.Out);
  // In 2024 only September and December (both start on a Sunday) need six weeks.
  EXPECT_EQ(lines.size(), 1u + 35 * 10 + 42 * 2);
  int headers = 0;
  for (const std::string& line : lines) headers += line.starts_with("year\t");
  EXPECT_EQ(headers, 1);
  EXPECT_TRUE(lines[1].starts_with("2024\t1\t0\t2024-01-01\t"));
  EXPECT_TRUE(lines.back().starts_with("2024\t12\t41\t2025-01-05\t5\t"));
  EXPECT_TRUE(lines.back().ends_with("\t小寒\t1\t1\t0\t"));
}

TEST(Tsv, TodayDefaultsToTheLocalDate) {
  const ToolRun run = RunWith({"--tsv", "2024", "2"});
  const std::vector<std::string> lines = Lines(run.Out);
  EXPECT_TRUE(lines[1 + 12].ends_with("\t1\t休"));  // 2024-02-10
  int marked = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    marked += lines[i].substr(0, lines[i].rfind('\t')).ends_with("\t1");  // today, before holiday
  }
  EXPECT_EQ(marked, 1);
}

TEST(GridView, ShowsTitleWeekdaysAndTwoLinesPerWeek) {
  const ToolRun run = RunWith({"2024", "2"});
  ASSERT_EQ(run.Status, 0);
  const std::vector<std::string> lines = Lines(run.Out);
  ASSERT_EQ(lines.size(), 2u + 5 * 2);
  EXPECT_EQ(lines[0], "                      2024年2月  甲辰年 【龙年】");
  EXPECT_EQ(lines[1], "    一        二        三        四        五        六        日");
  EXPECT_EQ(lines[2], "    29        30        31         1         2         3        4班");
  EXPECT_EQ(lines[3], "   十九      二十      廿一      廿二     祭灶节     廿四      立春");
  EXPECT_EQ(lines[4], "     5         6         7         8         9      [10]休     11休");
  EXPECT_EQ(lines[5], "   廿六      廿七      廿八      廿九      除夕      春节      初二");
  EXPECT_EQ(run.Out.find('\x1b'), std::string::npos);
}

TEST(GridView, WholeYearShowsTwelveMonthsSeparatedByABlankLine) {
  const ToolRun run = RunWith({"2050"});
  ASSERT_EQ(run.Status, 0);
  const std::vector<std::string> lines = Lines(run.Out);
  int titles = 0;
  int blanks = 0;
  for (const std::string& line : lines) {
    titles += line.find("2050年") != std::string::npos;
    blanks += line.empty();
  }
  EXPECT_EQ(titles, 12);
  EXPECT_EQ(blanks, 11);
  EXPECT_NE(run.Out.find("2050年12月  庚午年 【马年】"), std::string::npos);
}

TEST(GridView, ColoursWeekendsFestivalsNeighboursAndToday) {
  const ToolRun run = RunWith({"2024", "2"}, /*colour=*/true);
  ASSERT_EQ(run.Status, 0);
  EXPECT_NE(run.Out.find("\x1b[31m    4班\x1b[0m"), std::string::npos);     // Sunday 4th, red
  EXPECT_NE(run.Out.find("\x1b[31m   雨水   \x1b[0m"), std::string::npos);  // term, red
  EXPECT_NE(run.Out.find("\x1b[2m    29    \x1b[0m"), std::string::npos);   // January 29th, dim
  EXPECT_NE(run.Out.find("\x1b[1;97;43m  [10]休  \x1b[0m"), std::string::npos);
  EXPECT_NE(run.Out.find("\x1b[90m   廿六   \x1b[0m"), std::string::npos);  // plain lunar day
}

TEST(DisplayWidth, CountsChineseCharactersAsTwoColumns) {
  const std::pair<const char*, int> cases[] = {
      {"", 0}, {"29", 2}, {"立春", 4}, {"博物馆日", 8}, {"[10]", 4}};
  for (const auto& [text, width] : cases) EXPECT_EQ(DisplayWidth(text), width) << text;
}

}  // namespace
}  // namespace kelvo::month_tool
