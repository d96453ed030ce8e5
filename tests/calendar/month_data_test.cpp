// The calendar data as the face shows it: every cell of every month, pinned
// by one digest, and the days worth naming written out.
#include <gtest/gtest.h>

#include "calendar/month_grid.h"

namespace kelvo {
namespace {

// The cell of `date` in the grid of (year, month), if it shows there.
std::optional<DayCell> CellOn(int16_t year, int16_t month, std::string_view date) {
  for (const DayCell& cell : BuildMonthGrid(year, month, Date{}).DayCells) {
    if (cell.DateText == date) return cell;
  }
  return std::nullopt;
}

// FNV-1a over every field of every cell of the lunar table's years, 1949 to
// 2051: the 1212 months the calendar shows and the months at the tables' ends.
TEST(EveryMonth, CellsMatchTheirRecordedDigest) {
  uint64_t digest = 14695981039346656037u;
  const auto add = [&digest](std::string_view text) {
    for (const char c : text) digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211u;
    digest = (digest ^ '\n') * 1099511628211u;
  };
  for (int16_t year = 1949; year <= 2051; ++year) {
    for (int16_t month = 1; month <= 12; ++month) {
      const MonthGrid grid = BuildMonthGrid(year, month, Date{});
      add(std::to_string(grid.CellCount) + " " + std::to_string(grid.DaysInMonth));
      for (const DayCell& c : grid.DayCells) {
        for (const std::string* text : {&c.DateText, &c.DayText, &c.LunarYearText,
                                        &c.LunarMonthText, &c.LunarDayText, &c.LabelText}) {
          add(*text);
        }
        add(std::string{c.IsOtherMonth ? 'o' : '-', c.IsFestivalOrTerm ? 'm' : '-',
                        c.IsToday ? 't' : '-'});
      }
    }
  }
  // A deliberate change to the data: compare `kelvo-month --tsv` before and
  // after, then record the new digest.
  EXPECT_EQ(digest, 9051172006123769578u);
}

struct ShapeCase {
  int16_t Year, Month;
  int CellCount, DaysInMonth;
  const char *FirstDate, *LastDate;
};

TEST(MonthGrid, RunsFromTheMondayBeforeTheFirstOverFiveOrSixWeeks) {
  constexpr ShapeCase cases[] = {
      {2021, 2, 35, 28, "2021-02-01", "2021-03-07"},   // starts on a Monday: no leading cells
      {1950, 1, 42, 31, "1949-12-26", "1950-02-05"},   // Sunday the 1st: six weeks
      {2024, 2, 35, 29, "2024-01-29", "2024-03-03"},   // leap February
      {2024, 12, 42, 31, "2024-11-25", "2025-01-05"},  // six weeks in December
      {2050, 12, 35, 31, "2050-11-28", "2051-01-01"},  // one trailing cell
      {2100, 2, 35, 28, "2100-02-01", "2100-03-07"}};  // a clock past 2050; 2100 is no leap year
  for (const ShapeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Year << "-" << c.Month);
    const MonthGrid grid = BuildMonthGrid(c.Year, c.Month, Date{});
    EXPECT_EQ(grid.CellCount, c.CellCount);
    EXPECT_EQ(grid.DaysInMonth, c.DaysInMonth);
    ASSERT_EQ(grid.DayCells.size(), static_cast<size_t>(c.CellCount));
    EXPECT_EQ(grid.DayCells.front().DateText, c.FirstDate);
    EXPECT_EQ(grid.DayCells.back().DateText, c.LastDate);
  }
}

// A day as the face shows it in the grid of GridYear-GridMonth (0: its own
// month). Lunar is the year, month and day texts run together.
struct DayCase {
  const char* Date;
  const char* Lunar;
  const char* Caption;
  bool Marked;
  int16_t GridYear = 0, GridMonth = 0;
};

TEST(MonthGrid, DaysShowTheirLunarDateAndCaption) {
  // clang-format off
  const DayCase cases[] = {
      // Lunar new years and the ends of the lunar table.
      {"1949-01-29", "己丑年正月初一", "春节", true}, {"1950-02-16", "己丑年腊月三十", "除夕", true},
      {"1950-02-17", "庚寅年正月初一", "春节", true}, {"2024-02-10", "甲辰年正月初一", "春节", true},
      {"2024-01-31", "癸卯年腊月廿一", "廿一", false},  // before the new year: the old year
      {"2051-02-10", "庚午年腊月廿九", "除夕", true}, {"2051-02-11", "", "", false},
      {"2051-02-14", "", "情人节", true}, {"1949-01-28", "", "", false},
      // Leap months repeat the month before; the month after keeps its number.
      {"2023-03-21", "癸卯年二月三十", "春分", true}, {"2023-03-22", "癸卯年闰二月初一", "初一", false},
      {"2023-04-20", "癸卯年三月初一", "谷雨", true}, {"2033-12-22", "癸丑年闰十一月初一", "初一", false},
      {"2034-01-20", "癸丑年腊月初一", "大寒", true}, {"2031-05-06", "辛亥年闰三月十五", "立夏", true},
      {"2024-03-10", "甲辰年二月初一", "初一", false}, {"2000-02-29", "庚辰年正月廿五", "廿五", false},
      // No lunar festival in a leap month; 除夕 is the last day of a 30- or 29-day 腊月.
      {"2028-05-28", "戊申年五月初五", "端午节", true}, {"2028-06-27", "戊申年闰五月初五", "初五", false},
      {"2023-02-21", "癸卯年二月初二", "龙头节", true}, {"2023-03-23", "癸卯年闰二月初二", "初二", false},
      {"2024-02-09", "癸卯年腊月三十", "除夕", true}, {"2025-01-28", "甲辰年腊月廿九", "除夕", true},
      {"2025-01-22", "甲辰年腊月廿三", "祭灶节", true}, {"2025-01-07", "甲辰年腊月初八", "腊八节", true},
      {"2024-02-24", "甲辰年正月十五", "元宵节", true}, {"2024-06-10", "甲辰年五月初五", "端午节", true},
      {"2024-08-10", "甲辰年七月初七", "七夕节", true}, {"2024-08-18", "甲辰年七月十五", "中元节", true},
      {"2024-09-17", "甲辰年八月十五", "中秋节", true}, {"2024-10-11", "甲辰年九月初九", "重阳节", true},
      {"2024-11-15", "甲辰年十月十五", "下元节", true},
      // A lunar festival beats a term and a Gregorian festival; a term beats a Gregorian one.
      {"2019-02-04", "戊戌年腊月三十", "除夕", true},    // and 立春
      {"2030-06-05", "庚戌年五月初五", "端午节", true},  // and 芒种, 环境日
      {"2024-06-05", "甲辰年四月廿九", "芒种", true},    // and 环境日
      {"2020-06-21", "庚子年五月初一", "夏至", true},    // and 父亲节
      {"2024-02-14", "甲辰年正月初五", "情人节", true}, {"2024-10-01", "甲辰年八月廿九", "国庆节", true},
      // Mother's Day, the second Sunday of May, wins over 护士节; Father's Day: third Sunday of June.
      {"2019-05-12", "己亥年四月初八", "母亲节", true}, {"2025-05-11", "乙巳年四月十四", "母亲节", true},
      {"2025-05-12", "乙巳年四月十五", "护士节", true}, {"2024-06-16", "甲辰年五月十一", "父亲节", true},
      {"2025-06-15", "乙巳年五月二十", "父亲节", true}, {"2050-08-08", "庚午年六月廿一", "爸爸节", true},
      // Gregorian festivals that start in a given year.
      {"1988-09-20", "戊辰年八月初十", "初十", false}, {"1989-09-20", "己巳年八月廿一", "爱牙日", true},
      {"1989-11-11", "己巳年十月十四", "十四", false}, {"1990-11-11", "庚午年九月廿五", "光棍节", true},
      {"2000-12-04", "庚辰年十一月初九", "初九", false}, {"2001-12-04", "辛巳年十月二十", "法制日", true},
      {"1977-12-09", "丁巳年十月廿九", "廿九", false}, {"1978-12-09", "戊午年十一月初十", "足球日", true},
      // Neighbour-month cells carry their texts, festivals and the next month's first term.
      {"2021-03-05", "辛丑年正月廿二", "惊蛰", true, 2021, 2},
      {"1950-02-04", "己丑年腊月十八", "立春", true, 1950, 1},
      {"2025-01-05", "甲辰年腊月初六", "小寒", true, 2024, 12},
      {"2051-01-01", "庚午年十一月十九", "元旦", true, 2050, 12},
      {"2024-03-03", "甲辰年正月廿三", "爱耳日", true, 2024, 2},
      {"1949-12-26", "己丑年十一月初七", "初七", false, 1950, 1},
      {"1949-12-25", "己丑年十一月初六", "圣诞节", true}};  // no solar-term row before 1950
  // clang-format on
  for (const DayCase& c : cases) {
    SCOPED_TRACE(c.Date);
    const Date date = ParseIsoDate(c.Date).value();
    const bool own = c.GridYear == 0;
    const std::optional<DayCell> cell =
        own ? CellOn(date.Year, date.Month, c.Date) : CellOn(c.GridYear, c.GridMonth, c.Date);
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(cell->LunarYearText + cell->LunarMonthText + cell->LunarDayText, c.Lunar);
    EXPECT_EQ(cell->LabelText, c.Caption);
    EXPECT_EQ(cell->IsFestivalOrTerm, c.Marked);
    EXPECT_EQ(cell->IsOtherMonth, !own);
    EXPECT_EQ(cell->DayText, std::to_string(date.Day));
  }
}

// Among them the dates where the published tables were mended to the sky.
TEST(MonthGrid, SolarTermsFallOnTheirAstronomicalDates) {
  // clang-format off
  const std::pair<const char*, const char*> terms[] = {
      {"2019-04-20", "谷雨"}, {"2019-05-21", "小满"}, {"2019-06-21", "夏至"}, {"2019-07-07", "小暑"},
      {"2019-08-23", "处暑"}, {"2019-09-23", "秋分"}, {"2019-10-08", "寒露"}, {"2019-11-22", "小雪"},
      {"2019-12-07", "大雪"}, {"1955-09-24", "秋分"}, {"1961-09-08", "白露"}, {"1977-08-07", "立秋"},
      {"1981-08-07", "立秋"}, {"1986-01-05", "小寒"}, {"1986-10-08", "寒露"}, {"1991-08-23", "处暑"},
      {"1995-08-23", "处暑"}, {"1999-08-23", "处暑"}, {"2022-09-07", "白露"}, {"2031-05-06", "立夏"},
      {"2033-05-21", "小满"}, {"2019-12-22", "冬至"}, {"2020-01-06", "小寒"}, {"2034-01-20", "大寒"},
      {"2024-02-04", "立春"}, {"2024-12-21", "冬至"}, {"2033-12-07", "大雪"}, {"2033-12-21", "冬至"},
      {"1950-01-06", "小寒"}, {"1950-12-22", "冬至"}, {"2050-12-22", "冬至"}};
  // clang-format on
  for (const auto& [text, term] : terms) {
    const Date date = ParseIsoDate(text).value();
    const std::optional<DayCell> cell = CellOn(date.Year, date.Month, text);
    ASSERT_TRUE(cell.has_value()) << text;
    EXPECT_EQ(cell->LabelText, term) << text;
    EXPECT_TRUE(cell->IsFestivalOrTerm) << text;
  }
}

TEST(MonthGrid, MarksTodayOnlyWhereItIsShownEvenInANeighbourMonthCell) {
  struct TodayCase {
    Date Today;
    int Index;  // -1: nowhere
  };
  const TodayCase cases[] = {{{2024, 2, 10}, 12}, {{2024, 3, 2}, 33},  {{2024, 1, 29}, 0},
                             {{2024, 6, 1}, -1},  {{2024, 2, 30}, -1}, {{}, -1}};
  for (const TodayCase& c : cases) {
    const MonthGrid grid = BuildMonthGrid(2024, 2, c.Today);
    for (int i = 0; i < grid.CellCount; ++i) {
      EXPECT_EQ(grid.DayCells[i].IsToday, i == c.Index) << FormatIsoDate(c.Today) << " cell " << i;
    }
  }
}

}  // namespace
}  // namespace kelvo
