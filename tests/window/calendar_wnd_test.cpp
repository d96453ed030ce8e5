#include "window/calendar_wnd.h"

#include <gtest/gtest.h>

#include "tests/window/fake_host.h"

namespace kelvo::testing {
namespace {

constexpr CopyCall Frame(int sourceX, int buttonX) {
  return {PictureId::ArrowStrip, sourceX, 0, 23, 26, buttonX, 12, 23, 26};
}
const CanvasCall PreviousYearHover{Frame(23, 12)};
const std::vector<CanvasCall> AllArrowsNormal{Frame(0, 12), Frame(46, 94), Frame(0, 124),
                                              Frame(46, 206)};

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
  int CentreX(int cell) const {
    const Rect& r = wnd.State.DayCells.at(cell).CellRect;
    return (r.Left + r.Right) / 2;
  }
  int CentreY(int cell) const {
    const Rect& r = wnd.State.DayCells.at(cell).CellRect;
    return (r.Top + r.Bottom) / 2;
  }
  bool Repainted() const {
    for (const CanvasCall& call : host.Face.Calls) {
      if (std::holds_alternative<GradientCall>(call)) return true;
    }
    return false;
  }
  void ExpectShown(Shown expected) const {
    EXPECT_EQ(wnd.State.ShownYear, expected.Year);
    EXPECT_EQ(wnd.State.ShownMonth, expected.Month);
    EXPECT_EQ(wnd.State.SelectedDay, expected.Selected);
  }
  void ExpectShownAndPanel(Shown expected) const {
    ExpectShown(expected);
    EXPECT_EQ(wnd.State.PanelDateText,
              FormatIsoDate({expected.Year, expected.Month, expected.Selected}));
  }

  FakeHost host;
  CalendarWnd wnd{host};
};

// ---- Start-up, back to today, time change ----

TEST_F(CalendarWndTest, StartAtTodayShowsTodaysMonthWithTodaySelected) {
  host.TodayDate = {2024, 3, 15};
  wnd.State.HoverCell = 7;
  wnd.StartAtToday();
  ExpectShownAndPanel({2024, 3, 15});
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(wnd.State.CellCount, 35);
  EXPECT_EQ(wnd.State.DaysInMonth, 31);
  EXPECT_TRUE(wnd.State.DayCells[18].IsToday);
  EXPECT_TRUE(Repainted());
  EXPECT_EQ(host.SurfaceChanges, 1);
}

TEST_F(CalendarWndTest, BackToTodayButtonReturnsToTodaysMonthAndDay) {
  StartOn({2024, 3, 15});
  wnd.NextYear();
  wnd.NextMonth();
  wnd.State.SelectedDay = 3;
  Click(LeftButton, 240, 20);
  ExpectShownAndPanel({2024, 3, 15});
}

TEST_F(CalendarWndTest, TimeChangeShowsTheCurrentMonthAndKeepsTheSelection) {
  StartOn({2024, 3, 15});
  wnd.NextYear();
  wnd.State.SelectedDay = 9;
  host.TodayDate = {2024, 6, 2};
  wnd.OnTimeChange();
  ExpectShown({2024, 6, 9});
  EXPECT_TRUE(wnd.State.DayCells[6].IsToday);  // June 2024 starts on a Saturday
}

// ---- Navigation range ----

struct StepCase {
  Date Today;
  void (CalendarWnd::*Step)();
  Shown Expected;
  bool Moves;
};

TEST_F(CalendarWndTest, StepsStayWithinJanuary1950ToDecember2050) {
  const StepCase cases[] = {
      {{2050, 6, 10}, &CalendarWnd::NextYear, {2050, 6, 10}, false},
      {{2050, 12, 31}, &CalendarWnd::NextMonth, {2050, 12, 31}, false},
      {{1950, 8, 1}, &CalendarWnd::LastYear, {1950, 8, 1}, false},
      {{1950, 1, 20}, &CalendarWnd::LastMonth, {1950, 1, 20}, false},
      {{1951, 1, 20}, &CalendarWnd::LastMonth, {1950, 12, 20}, true},
      {{2049, 12, 5}, &CalendarWnd::NextMonth, {2050, 1, 5}, true},
      {{2049, 12, 5}, &CalendarWnd::NextYear, {2050, 12, 5}, true},
      {{2024, 3, 15}, &CalendarWnd::LastYear, {2023, 3, 15}, true},
      // Stepping into a shorter month lowers the selection when painted.
      {{2024, 1, 31}, &CalendarWnd::NextMonth, {2024, 2, 29}, true},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(FormatIsoDate(c.Today));
    StartOn(c.Today);
    (wnd.*c.Step)();
    ExpectShownAndPanel(c.Expected);
    EXPECT_EQ(Repainted(), c.Moves);
    EXPECT_EQ(host.Face.Calls.empty(), !c.Moves);
    EXPECT_EQ(host.SurfaceChanges, c.Moves ? 1 : 0);
  }
  StartOn({1951, 1, 20});
  wnd.LastMonth();
  EXPECT_EQ(wnd.State.DayCells[0].DateText, "1950-11-27");
}

// ---- Day clicks ----

struct DayClickCase {
  Date Today;
  int Button;
  int PressCell;
  const char* PressDate;
  int ReleaseCell;
  Shown Expected;
};

TEST_F(CalendarWndTest, PressAndReleaseOnTheSameDaySelectItEvenInANeighbourMonth) {
  const DayClickCase cases[] = {
      {{2024, 3, 15}, LeftButton, 23, "2024-03-20", 23, {2024, 3, 20}},
      {{2024, 3, 15}, RightButton, 8, "2024-03-05", 8, {2024, 3, 5}},
      // Press on the 5th and release on the 6th selects nothing.
      {{2024, 3, 15}, LeftButton, 8, "2024-03-05", 9, {2024, 3, 15}},
      {{2024, 5, 10}, LeftButton, 1, "2024-04-30", 1, {2024, 4, 30}},
      {{2024, 2, 10}, LeftButton, 33, "2024-03-02", 33, {2024, 3, 2}},
      // Day 1 and the trailing day 1 carry the same number: the next month.
      {{2024, 2, 10}, LeftButton, 3, "2024-02-01", 32, {2024, 3, 1}},
      // A leading cell of January 1950 stays in January 1950.
      {{1950, 1, 10}, LeftButton, 5, "1949-12-31", 5, {1950, 1, 31}},
  };
  for (const DayClickCase& c : cases) {
    SCOPED_TRACE(c.PressDate);
    StartOn(c.Today);
    ASSERT_EQ(wnd.State.DayCells.at(c.PressCell).DateText, c.PressDate);
    wnd.OnMouseDown(c.Button, 0, CentreX(c.PressCell), CentreY(c.PressCell));
    wnd.OnMouseUp(c.Button, 0, CentreX(c.ReleaseCell), CentreY(c.ReleaseCell));
    ExpectShownAndPanel(c.Expected);
    const bool moved = c.Expected.Month != c.Today.Month || c.Expected.Selected != c.Today.Day;
    EXPECT_EQ(Repainted(), moved);
    EXPECT_EQ(host.Face.Calls.empty(), !moved);
    EXPECT_EQ(host.Drags, 0);
  }
}

TEST_F(CalendarWndTest, PressRecordsTheDayUnderTheMouseOrNone) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, CentreX(8), CentreY(8));
  EXPECT_EQ(wnd.State.PressedDay, 5);
  wnd.OnMouseDown(RightButton, 0, 470, 260);
  EXPECT_EQ(wnd.State.PressedDay, -1);
}

// ---- Buttons and empty space ----

struct PointClickCase {
  int Button, X, Y;
  Shown Expected;
};

TEST_F(CalendarWndTest, ButtonsActAtTheirEdgesAndEmptySpaceDoesNothing) {
  const PointClickCase cases[] = {
      {LeftButton, 35, 38, {2023, 3, 15}},    {LeftButton, 36, 38, {2024, 3, 15}},
      {LeftButton, 94, 12, {2025, 3, 15}},    {LeftButton, 147, 38, {2024, 2, 15}},
      {LeftButton, 206, 12, {2024, 4, 15}},   {LeftButton, 229, 38, {2024, 4, 15}},
      {LeftButton, 230, 38, {2024, 3, 15}},   {RightButton, 210, 20, {2024, 4, 15}},
      {RightButton, 470, 260, {2024, 3, 15}},  // the date panel
      {LeftButton, 66, 100, {2024, 3, 15}},    // the gap between two cells
  };
  for (const PointClickCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.X << "," << c.Y);
    StartOn({2024, 3, 15});
    Click(c.Button, c.X, c.Y);
    ExpectShown(c.Expected);
  }
}

TEST_F(CalendarWndTest, OnlyALeftPressOnEmptySpaceOrTheTitlesDragsTheWindow) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版", "http://example.test/a"}};
  wnd.State.LinkCount = 1;
  const std::tuple<int, int, int, int> cases[] = {
      {LeftButton, 36, 20, 1},    {LeftButton, 93, 38, 1},  // the year text
      {LeftButton, 470, 260, 1},  {LeftButton, 66, 100, 1},    {LeftButton, 5, 5, 1},
      {LeftButton, 35, 20, 0},    {LeftButton, 12, 12, 0},     {LeftButton, 94, 20, 0},
      {LeftButton, 117, 38, 0},   {LeftButton, 124, 20, 0},    {LeftButton, 147, 20, 0},
      {LeftButton, 206, 20, 0},   {LeftButton, 229, 38, 0},    {LeftButton, 236, 12, 0},
      {LeftButton, 318, 38, 0},   {LeftButton, 375, 10, 0},    {LeftButton, 400, 35, 0},
      {LeftButton, 39, 110, 0},   // a day cell
      {LeftButton, 450, 220, 0},  // a link
      {RightButton, 470, 260, 0}, {MiddleButton, 470, 260, 0},
  };
  for (const auto& [button, x, y, drags] : cases) {
    host.Drags = 0;
    wnd.OnMouseDown(button, 0, x, y);
    EXPECT_EQ(host.Drags, drags) << button << " at " << x << "," << y;
  }
}

TEST_F(CalendarWndTest, PreviousYearButtonKeepsItsHoverImageAfterItsAction) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 20, 20);
  ExpectShown({2023, 3, 15});
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_EQ(host.Face.Calls.back(), PreviousYearHover);
  EXPECT_EQ(host.SurfaceChanges, 2);  // the repaint and the hover image
  // At 1950 it does nothing but still shows its hover image.
  StartOn({1950, 3, 15});
  Click(LeftButton, 20, 20);
  ExpectShown({1950, 3, 15});
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{PreviousYearHover});
  // The other arrows leave the normal images: the repaint ends with the studio line.
  StartOn({2024, 3, 15});
  Click(LeftButton, 100, 20);
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_TRUE(std::holds_alternative<TextCall>(host.Face.Calls.back()));
}

TEST_F(CalendarWndTest, HideButtonHidesTheWindowAndRenamesMenuItem100) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 400, 35);
  EXPECT_EQ(host.Events, (std::vector<std::string>{"hide", "menu 100 显示日历"}));
  ExpectShown({2024, 3, 15});
}

TEST_F(CalendarWndTest, ReleaseOnALinkOpensItsAddressButNotOnItsRightOrBottomEdge) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "甲", "http://example.test/a"},
                                 {{410, 210, 533, 250}, "乙", "http://example.test/b"}};
  wnd.State.LinkCount = 2;
  Click(LeftButton, 410, 210);
  Click(LeftButton, 450, 240);
  Click(LeftButton, 533, 220);
  Click(LeftButton, 450, 250);
  EXPECT_EQ(host.OpenedUrls,
            (std::vector<std::string>{"http://example.test/a", "http://example.test/b"}));
}

// ---- Hover ----

TEST_F(CalendarWndTest, MovingOntoACellHoversItAsksForTheLeaveReportAndLeavingClearsIt) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, CentreX(10), CentreY(10));
  EXPECT_EQ(wnd.State.HoverCell, 10);
  EXPECT_EQ(host.LeaveRequests, 1);
  EXPECT_TRUE(Repainted());
  const Rect& r = wnd.State.DayCells[10].CellRect;
  const CanvasCall hover{
      BoxCall{r.Left, r.Top, r.Right - 1, r.Bottom - 1, {255, 187, 0}, 3, {255, 255, 255}}};
  EXPECT_NE(std::find(host.Face.Calls.begin(), host.Face.Calls.end(), hover),
            host.Face.Calls.end());
  // Away from the arrows the move ends by drawing all four in their normal frames.
  const std::vector<CanvasCall> tail(host.Face.Calls.end() - 4, host.Face.Calls.end());
  EXPECT_EQ(tail, AllArrowsNormal);
  // Inside the same cell nothing is repainted.
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, CentreX(10) + 1, CentreY(10));
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
  EXPECT_EQ(host.LeaveRequests, 1);
  // Off the grid the hover clears.
  wnd.OnMouseMove(0, 0, 470, 260);
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(host.LeaveRequests, 2);
  // So does the mouse leaving the window, with a repaint.
  wnd.OnMouseMove(0, 0, CentreX(10), CentreY(10));
  host.Face.Clear();
  wnd.OnMouseLeave();
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_TRUE(Repainted());
}

TEST_F(CalendarWndTest, ArrowHoverImagesComeFromTheBlueFrames) {
  StartOn({2024, 3, 15});
  const std::tuple<int, int, CopyCall> cases[] = {{12, 12, Frame(23, 12)},
                                                  {117, 38, Frame(69, 94)},
                                                  {147, 12, Frame(23, 124)},
                                                  {206, 38, Frame(69, 206)}};
  for (const auto& [x, y, frame] : cases) {
    host.Face.Clear();
    wnd.OnMouseMove(0, 0, x, y);
    EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{frame}) << x << "," << y;
  }
  EXPECT_EQ(host.LeaveRequests, 4);
  EXPECT_EQ(host.SurfaceChanges, 4);
}

TEST_F(CalendarWndTest, LeavingAnArrowRestoresAllFourExceptOverBackToToday) {
  StartOn({2024, 3, 15});
  for (const auto& [x, y] : {std::pair{36, 20}, {380, 20}}) {  // the year text, hide button
    wnd.OnMouseMove(0, 0, 20, 20);
    host.Face.Clear();
    wnd.OnMouseMove(0, 0, x, y);
    EXPECT_EQ(host.Face.Calls, AllArrowsNormal) << x << "," << y;
  }
  wnd.OnMouseMove(0, 0, 20, 20);
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 250, 20);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, HandCursorFollowsTheButtonsAndLinks) {
  StartOn({2024, 3, 15});
  EXPECT_TRUE(wnd.ShowsHandCursor(35, 38));
  EXPECT_FALSE(wnd.ShowsHandCursor(36, 20));
  EXPECT_FALSE(wnd.ShowsHandCursor(CentreX(3), CentreY(3)));
}

}  // namespace
}  // namespace kelvo::testing
