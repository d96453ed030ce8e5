#include "window/calendar_wnd.h"

#include <gtest/gtest.h>

#include "tests/window/fake_host.h"

namespace kelvo::testing {
namespace {

using Calls = std::vector<std::string>;
const Calls AllArrowsNormal{
    "copy arrows 0,0 23x26 -> 12,12 23x26", "copy arrows 46,0 23x26 -> 94,12 23x26",
    "copy arrows 0,0 23x26 -> 124,12 23x26", "copy arrows 46,0 23x26 -> 206,12 23x26"};
const std::string PreviousYearHover = "copy arrows 23,0 23x26 -> 12,12 23x26";

struct Shown {
  int16_t Year, Month, Selected;
};

class CalendarWndTest : public ::testing::Test {
 protected:
  void StartOn(Date today) {
    host.TodayDate = today;
    wnd.StartAtToday();
    host.Face.Clear();
    host.SurfaceChanges = 0;
  }
  void Click(int button, int x, int y) {
    wnd.OnMouseDown(button, 0, x, y);
    wnd.OnMouseUp(button, 0, x, y);
  }
  std::pair<int, int> Centre(int cell) const {
    const Rect& r = wnd.State.DayCells.at(cell).CellRect;
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  bool Repainted() const { return host.Face.Drew("gradient "); }
  void ExpectShown(Shown expected, bool withPanel = true) const {
    EXPECT_EQ(wnd.State.ShownYear, expected.Year);
    EXPECT_EQ(wnd.State.ShownMonth, expected.Month);
    EXPECT_EQ(wnd.State.SelectedDay, expected.Selected);
    if (withPanel) {
      EXPECT_EQ(wnd.State.PanelDateText,
                FormatIsoDate({expected.Year, expected.Month, expected.Selected}));
    }
  }

  FakeHost host;
  CalendarWnd wnd{host};
};

TEST_F(CalendarWndTest, StartBackToTodayAndTimeChangeShowTodaysMonth) {
  host.TodayDate = {2024, 3, 15};
  wnd.State.HoverCell = 7;
  wnd.StartAtToday();
  ExpectShown({2024, 3, 15});
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(wnd.State.CellCount, 35);
  EXPECT_EQ(wnd.State.DaysInMonth, 31);
  EXPECT_TRUE(wnd.State.DayCells[18].IsToday);
  EXPECT_TRUE(Repainted());
  EXPECT_EQ(host.SurfaceChanges, 1);

  wnd.NextYear();
  wnd.NextMonth();
  wnd.State.SelectedDay = 3;
  Click(LeftButton, 240, 20);  // 返回今天
  ExpectShown({2024, 3, 15});

  wnd.NextYear();
  wnd.State.SelectedDay = 9;
  host.TodayDate = {2024, 6, 2};
  wnd.OnTimeChange();  // keeps the selected day
  ExpectShown({2024, 6, 9}, false);
  EXPECT_TRUE(wnd.State.DayCells[6].IsToday);  // June 2024 starts on a Saturday
}

struct StepCase {
  Date Today;
  void (CalendarWnd::*Step)();
  Shown Expected;
  bool Moves;
};

TEST_F(CalendarWndTest, StepsStayWithinJanuary1950ToDecember2050) {
  const StepCase cases[] = {{{2050, 6, 10}, &CalendarWnd::NextYear, {2050, 6, 10}, false},
                            {{2050, 12, 31}, &CalendarWnd::NextMonth, {2050, 12, 31}, false},
                            {{1950, 8, 1}, &CalendarWnd::LastYear, {1950, 8, 1}, false},
                            {{1950, 1, 20}, &CalendarWnd::LastMonth, {1950, 1, 20}, false},
                            {{1951, 1, 20}, &CalendarWnd::LastMonth, {1950, 12, 20}, true},
                            {{2049, 12, 5}, &CalendarWnd::NextMonth, {2050, 1, 5}, true},
                            {{2049, 12, 5}, &CalendarWnd::NextYear, {2050, 12, 5}, true},
                            {{2024, 3, 15}, &CalendarWnd::LastYear, {2023, 3, 15}, true},
                            // Stepping into a shorter month lowers the selection when painted.
                            {{2024, 1, 31}, &CalendarWnd::NextMonth, {2024, 2, 29}, true}};
  for (const StepCase& c : cases) {
    SCOPED_TRACE(FormatIsoDate(c.Today));
    StartOn(c.Today);
    (wnd.*c.Step)();
    ExpectShown(c.Expected);
    EXPECT_EQ(Repainted(), c.Moves);
    EXPECT_EQ(host.Face.Calls.empty(), !c.Moves);
    EXPECT_EQ(host.SurfaceChanges, c.Moves ? 1 : 0);
  }
  StartOn({1951, 1, 20});
  wnd.LastMonth();
  EXPECT_EQ(wnd.State.DayCells[0].DateText, "1950-11-27");
}

struct DayClickCase {
  Date Today;
  int Button, PressCell;
  const char* PressDate;
  int ReleaseCell;
  Shown Expected;
};

TEST_F(CalendarWndTest, PressAndReleaseOnTheSameDaySelectItEvenInANeighbourMonth) {
  const DayClickCase cases[] = {
      {{2024, 3, 15}, LeftButton, 23, "2024-03-20", 23, {2024, 3, 20}},
      {{2024, 3, 15}, RightButton, 8, "2024-03-05", 8, {2024, 3, 5}},
      {{2024, 3, 15}, LeftButton, 8, "2024-03-05", 9, {2024, 3, 15}},  // 5th, then 6th: nothing
      {{2024, 5, 10}, LeftButton, 1, "2024-04-30", 1, {2024, 4, 30}},
      {{2024, 2, 10}, LeftButton, 33, "2024-03-02", 33, {2024, 3, 2}},
      // Day 1 and the trailing day 1 carry the same number: the next month.
      {{2024, 2, 10}, LeftButton, 3, "2024-02-01", 32, {2024, 3, 1}},
      // A leading cell of January 1950 stays in January 1950.
      {{1950, 1, 10}, LeftButton, 5, "1949-12-31", 5, {1950, 1, 31}}};
  for (const DayClickCase& c : cases) {
    SCOPED_TRACE(c.PressDate);
    StartOn(c.Today);
    ASSERT_EQ(wnd.State.DayCells.at(c.PressCell).DateText, c.PressDate);
    const auto [pressX, pressY] = Centre(c.PressCell);
    const auto [releaseX, releaseY] = Centre(c.ReleaseCell);
    wnd.OnMouseDown(c.Button, 0, pressX, pressY);
    wnd.OnMouseUp(c.Button, 0, releaseX, releaseY);
    ExpectShown(c.Expected);
    const bool moved = c.Expected.Month != c.Today.Month || c.Expected.Selected != c.Today.Day;
    EXPECT_EQ(Repainted(), moved);
    EXPECT_EQ(host.Face.Calls.empty(), !moved);
    EXPECT_EQ(host.Drags, 0);
  }
}

// Which point is which button, edges included, is pinned by the hot-region tests.
TEST_F(CalendarWndTest, ButtonsActOnReleaseWithEitherMouseButton) {
  const std::tuple<int, int, int, Shown> cases[] = {
      {LeftButton, 20, 20, {2023, 3, 15}},   {LeftButton, 100, 20, {2025, 3, 15}},
      {LeftButton, 130, 20, {2024, 2, 15}},  {LeftButton, 210, 20, {2024, 4, 15}},
      {RightButton, 210, 20, {2024, 4, 15}}, {LeftButton, 36, 38, {2024, 3, 15}},  // year text
      {RightButton, 470, 260, {2024, 3, 15}}};                                     // date panel
  for (const auto& [button, x, y, expected] : cases) {
    SCOPED_TRACE(::testing::Message() << x << "," << y);
    StartOn({2024, 3, 15});
    Click(button, x, y);
    ExpectShown(expected, false);
  }
  StartOn({2024, 3, 15});
  Click(LeftButton, 400, 35);
  EXPECT_EQ(host.Events, (Calls{"hide", "menu 100 显示日历"}));
  ExpectShown({2024, 3, 15});
  EXPECT_TRUE(wnd.ShowsHandCursor(35, 38));
  EXPECT_FALSE(wnd.ShowsHandCursor(36, 20));
}

TEST_F(CalendarWndTest, OnlyALeftPressOnEmptySpaceOrTheTitlesDragsTheWindow) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版", "http://example.test/a"}};
  wnd.State.LinkCount = 1;
  const std::tuple<int, int, int, int> cases[] = {
      {LeftButton, 36, 20, 1},   {LeftButton, 93, 38, 1},    {LeftButton, 470, 260, 1},
      {LeftButton, 66, 100, 1},  {LeftButton, 5, 5, 1},      {LeftButton, 35, 20, 0},
      {LeftButton, 400, 35, 0},  {LeftButton, 250, 20, 0},   {LeftButton, 39, 110, 0},  // a day
      {LeftButton, 450, 220, 0}, {RightButton, 470, 260, 0}, {MiddleButton, 470, 260, 0}};
  for (const auto& [button, x, y, drags] : cases) {
    host.Drags = 0;
    wnd.OnMouseDown(button, 0, x, y);
    EXPECT_EQ(host.Drags, drags) << button << " at " << x << "," << y;
  }
  host.Face.Clear();
  wnd.OnMouseUp(LeftButton, 0, 450, 220);
  EXPECT_EQ(host.Events, (Calls{"open http://example.test/a"}));
}

TEST_F(CalendarWndTest, OnlyThePreviousYearButtonKeepsItsHoverImageAfterItsAction) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 20, 20);
  ExpectShown({2023, 3, 15});
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_EQ(host.Face.Calls.back(), PreviousYearHover);
  EXPECT_EQ(host.SurfaceChanges, 2);  // the repaint and the hover image
  StartOn({1950, 3, 15});             // at 1950 it does nothing but still shows it
  Click(LeftButton, 20, 20);
  ExpectShown({1950, 3, 15});
  EXPECT_EQ(host.Face.Calls, Calls{PreviousYearHover});
  StartOn({2024, 3, 15});
  Click(LeftButton, 100, 20);
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_TRUE(host.Face.Calls.back().starts_with("text Kelvo软件工作室 "));
}

TEST_F(CalendarWndTest, HoveringACellOutlinesItUntilTheMouseMovesOffOrLeaves) {
  StartOn({2024, 3, 15});
  const auto [x, y] = Centre(10);
  wnd.OnMouseMove(0, 0, x, y);
  EXPECT_EQ(wnd.State.HoverCell, 10);
  EXPECT_EQ(host.LeaveRequests, 1);
  EXPECT_TRUE(host.Face.Drew("box 177,138-230,191 255,187,0 w3 fill 255,255,255"));
  // Away from the arrows a move ends by drawing all four in their normal frames.
  EXPECT_EQ(Calls(host.Face.Calls.end() - 4, host.Face.Calls.end()), AllArrowsNormal);
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, x + 1, y);  // the same cell: no repaint
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
  EXPECT_EQ(host.LeaveRequests, 1);
  wnd.OnMouseMove(0, 0, 470, 260);
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(host.LeaveRequests, 2);
  wnd.OnMouseMove(0, 0, x, y);
  host.Face.Clear();
  wnd.OnMouseLeave();
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_TRUE(Repainted());
}

TEST_F(CalendarWndTest, ArrowsShowTheirBlueFramesUnderTheMouseAndNormalOnesAway) {
  StartOn({2024, 3, 15});
  const std::tuple<int, int, std::string> cases[] = {
      {12, 12, "copy arrows 23,0 23x26 -> 12,12 23x26"},
      {117, 38, "copy arrows 69,0 23x26 -> 94,12 23x26"},
      {147, 12, "copy arrows 23,0 23x26 -> 124,12 23x26"},
      {206, 38, "copy arrows 69,0 23x26 -> 206,12 23x26"}};
  for (const auto& [x, y, frame] : cases) {
    host.Face.Clear();
    wnd.OnMouseMove(0, 0, x, y);
    EXPECT_EQ(host.Face.Calls, Calls{frame}) << x << "," << y;
  }
  EXPECT_EQ(host.LeaveRequests, 4);
  EXPECT_EQ(host.SurfaceChanges, 4);
  for (const auto& [x, y] : {std::pair{36, 20}, {380, 20}, {250, 20}}) {  // 返回今天 keeps it
    wnd.OnMouseMove(0, 0, 20, 20);
    host.Face.Clear();
    wnd.OnMouseMove(0, 0, x, y);
    EXPECT_EQ(host.Face.Calls, x == 250 ? Calls{} : AllArrowsNormal) << x << "," << y;
  }
}

}  // namespace
}  // namespace kelvo::testing
