// The 休/班 mark in the day cells and the holiday line of the date panel.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"

namespace kelvo::testing {
namespace {

// The face of the month of `shown` with its day selected.
struct Face {
  FakeHost host;
  CalendarWnd wnd{host};
  Face(Date shown, Date today) {
    host.TodayDate = today;
    wnd.State.ShownYear = shown.Year, wnd.State.ShownMonth = shown.Month,
    wnd.State.SelectedDay = shown.Day;
    wnd.BuildMonth(shown.Year, shown.Month);
  }
};

// 宋体 8 in the 14 × 14 box at (right - 15, top + 2), after everything else of
// the cell: today's fill, the day number and the label.
TEST(HolidayMark, IsDrawnLastInTheCellsTopRightCornerInItsColour) {
  // clang-format off
  const std::tuple<Date, Date, int, const char*> cases[] = {
      {{2025, 10, 1}, {2024, 3, 15}, 2, "text 休 161,85,175,99 宋体 8 224,45,45 centre middle"},
      {{2025, 10, 1}, {2024, 3, 15}, 12, "text 班 326,140,340,154 宋体 8 102,102,102 centre middle"},
      {{2025, 1, 1}, {2024, 3, 15}, 34,  // 2025-02-02, a neighbour-month cell
       "text 休 381,305,395,319 宋体 8 191,191,191 centre middle"},
      {{2021, 5, 1}, {2021, 5, 3}, 7,  // today, in a six-row month
       "text 休 51,131,65,145 宋体 8 255,255,255 centre middle"}};
  // clang-format on
  for (const auto& [shown, today, cell, mark] : cases) {
    const Face face(shown, today);
    const std::vector<std::string> drawn =
        face.host.Face.Within(face.wnd.State.DayCells[cell].CellRect);
    ASSERT_GE(drawn.size(), 3u) << mark;
    EXPECT_EQ(drawn.back(), mark);
  }
}

TEST(HolidayMark, PanelAddsTheFestivalLineOnlyForAMarkedSelectedDay) {
  const std::pair<Date, std::string> cases[] = {
      {{2025, 10, 1}, "国庆节 · 休"},
      {{2024, 2, 4}, "春节 · 班"},
      {{2015, 9, 3}, "中国人民抗日… · 休"},  // the one name too long for the panel
      {{2025, 10, 9}, ""}};
  for (const auto& [date, line] : cases) {
    const Face face(date, {2024, 3, 15});
    const std::vector<std::string>& calls = face.host.Face.Calls;
    const auto year = std::find_if(calls.begin(), calls.end(), [&](const std::string& call) {
      return call.starts_with("text " + face.wnd.State.PanelYearText + " 408,152,");
    });
    ASSERT_LT(year + 2, calls.end()) << line;
    if (!line.empty()) {
      EXPECT_EQ(year[1], "text " + line + " 408,174,535,194 宋体 9 255,255,255 centre middle");
    }
    EXPECT_TRUE(year[line.empty() ? 1 : 2].starts_with("box 418,200-527,201 ")) << "separator";
  }
}

// A schedule that changes the shown month's marks repaints at once; one
// that changes another month's does not.
TEST(HolidayMark, NewScheduleRepaintsOnlyWhenTheShownMonthChanges) {
  Face face({2027, 1, 1}, {2024, 3, 15});
  const int paints = face.host.SurfaceChanges;
  for (const std::string day : {"2027-03-01", "2027-01-01"})
    face.wnd.SetHolidays(HolidaySchedule(
        *ParseHolidayFile("KELVO-HOLIDAYS 1\nSERIAL 9\nYEAR 2027\n" + day + " 休 元旦")));
  EXPECT_EQ(face.host.SurfaceChanges, paints + 1) << "only for January 1st";
  EXPECT_EQ(face.wnd.State.PanelHolidayText, "元旦 · 休");
}

}  // namespace
}  // namespace kelvo::testing
