// The face as painted: day cells, the date panel and its holiday and own-day
// lines, the 休/班 and own-day marks.
#include "window/face_painter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/window/fake_host.h"
#include "window/calendar_wnd.h"

namespace kelvo::testing {
namespace {

using Calls = std::vector<std::string>;

class FacePainterTest : public ::testing::Test {
 protected:
  // The face of the month of `shown` with its day chosen and `hover` under the mouse.
  const Calls& Show(Date shown, int hover = -1, Date today = {2024, 3, 15}) {
    host.TodayDate = today;
    wnd.State.ShownYear = shown.Year;
    wnd.State.ShownMonth = shown.Month;
    wnd.State.SelectedDay = shown.Day;
    wnd.State.HoverCell = hover;
    host.Face.Clear();
    wnd.BuildMonth(shown.Year, shown.Month);
    return host.Face.Calls;
  }
  FakeHost host;
  CalendarWnd wnd{host};
};

// Outlines come before today's fill, so a selected or hovered today shows
// only the fill; the selection needs a day of the shown month, the hover not.
TEST_F(FacePainterTest, CellsShowSelectionHoverAndTodayInThatOrder) {
  // clang-format off
  // The month of 2024, selected day, hovered cell; a cell and what is drawn in it.
  const std::tuple<int16_t, int16_t, int, int, Calls> cases[] = {
      {3, 15, 18, 18, {"box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                       "box 232,193-285,246 255,187,0 w3 fill 255,255,255",
                       "box 232,193-285,246 255,187,0 w3 fill 255,187,0",
                       "text 15 232,203,285,246 Arial 13 bold 255,255,255 centre",
                       "text 消权日 232,225,285,246 宋体 9 255,255,255 centre ellipsis"}},
      {4, 31, -1, 29, {"box 67,303-120,356 255,187,0 w3 fill 255,255,255",  // 31st: the 30th
                       "text 30 67,313,120,356 Arial 13 bold 0,0,0 centre",
                       "text 廿二 67,335,120,356 宋体 9 153,153,153 centre ellipsis"}},
      {2, 1, 34, 34, {"box 342,303-395,356 255,187,0 w3 fill 255,255,255",  // a March festival
                      "text 3 342,313,395,356 Arial 13 bold 191,191,191 centre",
                      "text 爱耳日 342,335,395,356 宋体 9 191,191,191 centre ellipsis"}},
      {2, 1, -1, 32, {"text 1 232,313,285,356 Arial 13 bold 191,191,191 centre",  // March 1st
                      "text 廿一 232,335,285,356 宋体 9 191,191,191 centre ellipsis"}}};
  // clang-format on
  for (const auto& [month, selected, hover, cell, expected] : cases) {
    Show({2024, month, selected}, hover);
    EXPECT_EQ(host.Face.Within(wnd.State.DayCells[cell].CellRect), expected) << month;
  }
  EXPECT_EQ(Show({2024, 1, 15}).front(),
            "box 0,0-537,369 87,171,255 w2 fill 255,255,255");  // clears
  // Before the lunar new year the stem-branch year is the old one, the zodiac the shown year's.
  EXPECT_TRUE(host.Face.Drew("text 癸卯年 【龙年】 408,152,535,172 宋体 10 255,255,255 centre"));
  EXPECT_TRUE(host.Face.Drew("text 腊月初五 ") && host.Face.Drew("text 星期一 "));
}

// A clock past 9999 builds no cells; the panel's date may then be unreadable.
TEST_F(FacePainterTest, NothingBuiltOrAnUnreadableDateStillPaintsTheFrame) {
  for (const char* date : {"", "2024-13-45"}) {
    CalendarState state;
    state.PanelDateText = date;
    state.LinkCount = 3;  // none held
    RecordingCanvas canvas;
    PaintFace(state, canvas);
    EXPECT_EQ(canvas.Within({12, 82, 397, 370}).size(), 5u);  // five grid rules, no cells
    EXPECT_TRUE(canvas.Drew("text 星期 487,19,535,37 ")) << "the weekday word alone";
    EXPECT_TRUE(canvas.Drew("text Kelvo软件工作室 "));
  }
}

// 宋体 8 in the 14 × 14 box at (right - 15, top + 2), after everything else of
// the cell: today's fill, the day number and the label.
TEST_F(FacePainterTest, HolidayMarkIsDrawnLastInTheCellsTopRightCornerInItsColour) {
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
    Show(shown, -1, today);
    const Calls drawn = host.Face.Within(wnd.State.DayCells[cell].CellRect);
    ASSERT_GE(drawn.size(), 3u) << mark;
    EXPECT_EQ(drawn.back(), mark);
  }
}

TEST_F(FacePainterTest, HolidayPanelAddsTheFestivalLineOnlyForAMarkedSelectedDay) {
  const std::pair<Date, std::string> cases[] = {
      {{2025, 10, 1}, "国庆节 · 休"},
      {{2024, 2, 4}, "春节 · 班"},
      {{2015, 9, 3}, "中国人民抗日… · 休"},  // the one name too long for the panel
      {{2025, 10, 9}, ""}};
  for (const auto& [date, line] : cases) {
    const Calls& calls = Show(date);
    const auto year = std::find_if(calls.begin(), calls.end(), [&](const std::string& call) {
      return call.starts_with("text " + wnd.State.PanelYearText + " 408,152,");
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
TEST_F(FacePainterTest, NewHolidayScheduleRepaintsOnlyWhenTheShownMonthChanges) {
  Show({2027, 1, 1});
  const int paints = host.SurfaceChanges;
  for (const std::string day : {"2027-03-01", "2027-01-01"})
    wnd.SetHolidays(HolidaySchedule(
        *ParseHolidayFile("KELVO-HOLIDAYS 1\nSERIAL 9\nYEAR 2027\n" + day + " 休 元旦")));
  EXPECT_EQ(host.SurfaceChanges, paints + 1) << "only for January 1st";
  EXPECT_EQ(wnd.State.PanelHolidayText, "元旦 · 休");
}

OwnDay Gregorian(std::string id, int16_t month, int16_t day, int16_t origin, OwnDayKind kind,
                 std::string name) {
  OwnDay own;
  own.Id = std::move(id);
  own.Calendar = OwnDayCalendar::Gregorian;
  own.Month = month;
  own.Day = day;
  own.Origin = origin;
  own.Kind = kind;
  own.Name = std::move(name);
  return own;
}

// A small dot in the bottom-left corner, drawn last: inside the cell, clear
// of the 3-pixel selection and hover frame and of the 休/班 corner, and
// white on today's fill.
TEST_F(FacePainterTest, OwnDayMarkSitsInTheBottomLeftCornerClearOfFrameAndHolidayMark) {
  wnd.State.OwnDays = {Gregorian("a1", 10, 1, 0, OwnDayKind::Birthday, "妈妈"),
                       Gregorian("b2", 11, 1, 0, OwnDayKind::Anniversary, "旅行")};
  const std::tuple<Date, int, const char*> cases[] = {
      {{2024, 3, 15}, 2, "0,153,102"},    // 2025-10-01, 休, selected and hovered
      {{2025, 10, 2}, 33, "191,191,191"},  // November 1st, a neighbour-month cell
      {{2025, 10, 1}, 2, "255,255,255"}};  // today
  for (const auto& [today, cell, colour] : cases) {
    Show({2025, 10, 1}, 2, today);
    const Rect& area = wnd.State.DayCells[cell].CellRect;
    const Rect mark{area.Left + 5, area.Bottom - 9, area.Left + 9, area.Bottom - 5};
    const Calls drawn = host.Face.Within(area);
    std::ostringstream box;
    box << "box " << mark.Left << ',' << mark.Top << '-' << mark.Right - 1 << ',' << mark.Bottom - 1
        << ' ' << colour << " w1 fill " << colour;
    EXPECT_EQ(drawn.back(), box.str()) << colour;
    EXPECT_TRUE(mark.Left >= area.Left + 3 && mark.Bottom <= area.Bottom - 3) << "inside the frame";
    EXPECT_LT(mark.Right, area.Right - 15) << "left of the 休/班 box";
    EXPECT_GT(mark.Top, area.Top + 16) << "below the 休/班 box";
  }
}

// Under the separator: the selected day's line, or the first and how many.
TEST_F(FacePainterTest, PanelNamesTheSelectedDaysOwnDays) {
  wnd.State.OwnDays = {Gregorian("a1", 10, 1, 1955, OwnDayKind::Birthday, "妈妈"),
                       Gregorian("b2", 10, 2, 0, OwnDayKind::Anniversary, "结婚纪念日"),
                       Gregorian("c3", 10, 2, 2020, OwnDayKind::Anniversary, "搬家")};
  const std::pair<Date, std::string> cases[] = {
      {{2025, 10, 1}, "妈妈生日 · 70岁"}, {{2025, 10, 2}, "结婚纪念日 等2项"}, {{2025, 10, 3}, ""}};
  for (const auto& [date, line] : cases) {
    Show(date);
    EXPECT_EQ(wnd.State.PanelOwnDayText, line);
    EXPECT_EQ(host.Face.Drew("text " + line + " 408,203,535,219 宋体 9 255,255,255 centre middle"),
              !line.empty());
  }
}

// Under high contrast: the system's colours only, no gradient, no picture;
// the selection filled, today framed on it, 休/班 by their characters.
TEST_F(FacePainterTest, HighContrastUsesOnlySystemColoursFramesTodayAndFillsTheSelection) {
  wnd.Palette = HighContrastPalette({250, 250, 250}, {10, 10, 10}, {0, 0, 128}, {240, 240, 240},
                                    {128, 128, 128});
  Show({2024, 3, 15});
  EXPECT_EQ(host.Face.Within(wnd.State.DayCells[18].CellRect),
            (Calls{"box 232,193-285,246 0,0,128 w3 fill 0,0,128",
                   "box 232,193-285,246 240,240,240 w3 fill 0,0,128",
                   "text 15 232,203,285,246 Arial 13 bold 240,240,240 centre",
                   "text 消权日 232,225,285,246 宋体 9 240,240,240 centre ellipsis"}));
  EXPECT_FALSE(host.Face.Drew("gradient") || host.Face.Drew("copy"));
  for (const std::string& call : host.Face.Calls) {
    for (const char* own : {"255,187,0", "87,171,255", "224,45,45", "191,191,191", "153,153,153",
                            "255,255,255", "216,216,216", "200,202,204", "148,201,255"})
      EXPECT_EQ(call.find(own), std::string::npos) << call;
  }
  Show({2025, 10, 1});
  EXPECT_EQ(host.Face.Within(wnd.State.DayCells[12].CellRect).back(),
            "text 班 326,140,340,154 宋体 8 10,10,10 centre middle");
}

}  // namespace
}  // namespace kelvo::testing
