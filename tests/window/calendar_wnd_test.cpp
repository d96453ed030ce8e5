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

class CalendarWndTest : public ::testing::Test {
 protected:
  // Today 2024-03-15 unless a test says otherwise.
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
    const Rect& r = wnd.State.DayCells[cell].CellRect;
    return (r.Left + r.Right) / 2;
  }
  int CentreY(int cell) const {
    const Rect& r = wnd.State.DayCells[cell].CellRect;
    return (r.Top + r.Bottom) / 2;
  }
  void ClickCell(int button, int cell) { Click(button, CentreX(cell), CentreY(cell)); }
  bool Repainted() const {
    for (const CanvasCall& call : host.Face.Calls) {
      if (std::holds_alternative<GradientCall>(call)) return true;
    }
    return false;
  }
  void ExpectShown(int year, int month, int selected) const {
    EXPECT_EQ(wnd.State.ShownYear, year);
    EXPECT_EQ(wnd.State.ShownMonth, month);
    EXPECT_EQ(wnd.State.SelectedDay, selected);
  }

  FakeHost host;
  CalendarWnd wnd{host};
};

// ---- Start-up and back to today ----

TEST_F(CalendarWndTest, StartAtTodayShowsTodaysMonthWithTodaySelected) {
  host.TodayDate = {2024, 3, 15};
  wnd.State.HoverCell = 7;
  wnd.StartAtToday();
  ExpectShown(2024, 3, 15);
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(wnd.State.CellCount, 35);
  EXPECT_EQ(wnd.State.DaysInMonth, 31);
  EXPECT_TRUE(wnd.State.DayCells[18].IsToday);
  EXPECT_EQ(wnd.State.PanelDateText, "2024-03-15");
  EXPECT_TRUE(Repainted());
  EXPECT_EQ(host.SurfaceChanges, 1);
}

TEST_F(CalendarWndTest, BackToTodayButtonReturnsToTodaysMonthAndDay) {
  StartOn({2024, 3, 15});
  wnd.NextYear();
  wnd.NextMonth();
  wnd.State.SelectedDay = 3;
  Click(LeftButton, 240, 20);
  ExpectShown(2024, 3, 15);
  EXPECT_EQ(wnd.State.PanelDateText, "2024-03-15");
}

TEST_F(CalendarWndTest, TimeChangeShowsTheCurrentMonthAndKeepsTheSelection) {
  StartOn({2024, 3, 15});
  wnd.NextYear();
  wnd.State.SelectedDay = 9;
  host.TodayDate = {2024, 6, 2};
  wnd.OnTimeChange();
  ExpectShown(2024, 6, 9);
  EXPECT_TRUE(wnd.State.DayCells[6].IsToday);  // June 2024 starts on a Saturday
}

// ---- Navigation range ----

TEST_F(CalendarWndTest, NextYearFrom2050DoesNothing) {
  StartOn({2050, 6, 10});
  wnd.NextYear();
  ExpectShown(2050, 6, 10);
  EXPECT_TRUE(host.Face.Calls.empty());
  EXPECT_EQ(host.SurfaceChanges, 0);
}

TEST_F(CalendarWndTest, NextMonthFromDecember2050DoesNothing) {
  StartOn({2050, 12, 31});
  wnd.NextMonth();
  ExpectShown(2050, 12, 31);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, LastYearFrom1950DoesNothing) {
  StartOn({1950, 8, 1});
  wnd.LastYear();
  ExpectShown(1950, 8, 1);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, LastMonthFromJanuary1950DoesNothing) {
  StartOn({1950, 1, 20});
  wnd.LastMonth();
  ExpectShown(1950, 1, 20);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, LastMonthFromJanuary1951ShowsDecember1950) {
  StartOn({1951, 1, 20});
  wnd.LastMonth();
  ExpectShown(1950, 12, 20);
  EXPECT_EQ(wnd.State.DayCells[0].DateText, "1950-11-27");
  EXPECT_TRUE(Repainted());
}

TEST_F(CalendarWndTest, NextMonthFromDecember2049ShowsJanuary2050) {
  StartOn({2049, 12, 5});
  wnd.NextMonth();
  ExpectShown(2050, 1, 5);
}

TEST_F(CalendarWndTest, NextYearFrom2049ShowsTheSameMonthOf2050) {
  StartOn({2049, 12, 5});
  wnd.NextYear();
  ExpectShown(2050, 12, 5);
}

TEST_F(CalendarWndTest, LastYearKeepsMonthAndSelectedDay) {
  StartOn({2024, 3, 15});
  wnd.LastYear();
  ExpectShown(2023, 3, 15);
  EXPECT_EQ(wnd.State.PanelDateText, "2023-03-15");
}

TEST_F(CalendarWndTest, SteppingIntoAShorterMonthLowersTheSelectionWhenPainted) {
  StartOn({2024, 1, 31});
  wnd.NextMonth();
  ExpectShown(2024, 2, 29);
}

// ---- Day clicks ----

TEST_F(CalendarWndTest, ClickOnADaySelectsIt) {
  StartOn({2024, 3, 15});
  ClickCell(LeftButton, 23);  // 2024-03-20
  ExpectShown(2024, 3, 20);
  EXPECT_EQ(wnd.State.PanelDateText, "2024-03-20");
  EXPECT_TRUE(Repainted());
  EXPECT_EQ(host.Drags, 0);
}

TEST_F(CalendarWndTest, RightButtonClickOnADaySelectsIt) {
  StartOn({2024, 3, 15});
  ClickCell(RightButton, 8);  // 2024-03-05
  ExpectShown(2024, 3, 5);
}

TEST_F(CalendarWndTest, PressOn5AndReleaseOn6SelectsNothing) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, CentreX(8), CentreY(8));  // the 5th
  EXPECT_EQ(wnd.State.PressedDay, 5);
  wnd.OnMouseUp(LeftButton, 0, CentreX(9), CentreY(9));  // the 6th
  ExpectShown(2024, 3, 15);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, PressOnEmptySpaceRecordsNoDay) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(RightButton, 0, 470, 260);
  EXPECT_EQ(wnd.State.PressedDay, -1);
  wnd.OnMouseUp(RightButton, 0, 470, 260);
  ExpectShown(2024, 3, 15);
}

TEST_F(CalendarWndTest, LeadingCellShowing30MovesToThePreviousMonthWith30Selected) {
  StartOn({2024, 5, 10});
  ASSERT_EQ(wnd.State.DayCells[1].DateText, "2024-04-30");
  ClickCell(LeftButton, 1);
  ExpectShown(2024, 4, 30);
  EXPECT_EQ(wnd.State.PanelDateText, "2024-04-30");
}

TEST_F(CalendarWndTest, TrailingCellShowing2MovesToTheNextMonthWith2Selected) {
  StartOn({2024, 2, 10});
  ASSERT_EQ(wnd.State.DayCells[33].DateText, "2024-03-02");
  ClickCell(LeftButton, 33);
  ExpectShown(2024, 3, 2);
  EXPECT_EQ(wnd.State.PanelDateText, "2024-03-02");
}

TEST_F(CalendarWndTest, PressOnDay1AndReleaseOnTrailingDay1MovesToTheNextMonth) {
  StartOn({2024, 2, 10});
  wnd.OnMouseDown(LeftButton, 0, CentreX(3), CentreY(3));  // 2024-02-01
  wnd.OnMouseUp(LeftButton, 0, CentreX(32), CentreY(32));  // 2024-03-01
  ExpectShown(2024, 3, 1);
}

TEST_F(CalendarWndTest, LeadingCellOfJanuary1950StaysInJanuary1950) {
  StartOn({1950, 1, 10});
  ASSERT_EQ(wnd.State.DayCells[5].DateText, "1949-12-31");
  ClickCell(LeftButton, 5);
  ExpectShown(1950, 1, 31);
}

TEST_F(CalendarWndTest, ReleaseInTheGapBetweenCellsSelectsNothing) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, 66, 100);
  wnd.OnMouseUp(LeftButton, 0, 66, 100);
  ExpectShown(2024, 3, 15);
}

// ---- Window drag ----

TEST_F(CalendarWndTest, LeftPressOnTheYearTextDragsTheWindow) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, 36, 20);
  wnd.OnMouseDown(LeftButton, 0, 93, 38);
  EXPECT_EQ(host.Drags, 2);
}

TEST_F(CalendarWndTest, LeftPressOnEmptySpaceDragsTheWindow) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, 470, 260);  // date panel
  wnd.OnMouseDown(LeftButton, 0, 66, 100);   // gap between two cells
  wnd.OnMouseDown(LeftButton, 0, 5, 5);      // frame
  EXPECT_EQ(host.Drags, 3);
}

TEST_F(CalendarWndTest, LeftPressOnButtonsDoesNotDrag) {
  StartOn({2024, 3, 15});
  for (auto [x, y] : {std::pair{35, 20},
                      {12, 12},
                      {94, 20},
                      {117, 38},
                      {124, 20},
                      {147, 20},
                      {206, 20},
                      {229, 38},
                      {236, 12},
                      {318, 38},
                      {375, 10},
                      {400, 35}}) {
    wnd.OnMouseDown(LeftButton, 0, x, y);
    EXPECT_EQ(host.Drags, 0) << x << "," << y;
  }
}

TEST_F(CalendarWndTest, LeftPressOnADayCellDoesNotDrag) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(LeftButton, 0, CentreX(0), CentreY(0));
  EXPECT_EQ(host.Drags, 0);
}

TEST_F(CalendarWndTest, LeftPressOnALinkDoesNotDrag) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "新版", "http://example.test/a"}};
  wnd.State.LinkCount = 1;
  wnd.OnMouseDown(LeftButton, 0, 450, 220);
  EXPECT_EQ(host.Drags, 0);
}

TEST_F(CalendarWndTest, OtherButtonsOnEmptySpaceDoNotDrag) {
  StartOn({2024, 3, 15});
  wnd.OnMouseDown(RightButton, 0, 470, 260);
  wnd.OnMouseDown(MiddleButton, 0, 470, 260);
  EXPECT_EQ(host.Drags, 0);
}

// ---- Fixed buttons ----

TEST_F(CalendarWndTest, ReleaseAtX35IsThePreviousYearButtonAndX36IsNot) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 35, 38);
  ExpectShown(2023, 3, 15);
  Click(LeftButton, 36, 38);
  ExpectShown(2023, 3, 15);
}

TEST_F(CalendarWndTest, ArrowButtonsStepYearsAndMonthsAtTheirEdges) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 94, 12);
  ExpectShown(2025, 3, 15);
  Click(LeftButton, 147, 38);
  ExpectShown(2025, 2, 15);
  Click(LeftButton, 206, 12);
  ExpectShown(2025, 3, 15);
  Click(LeftButton, 229, 38);
  ExpectShown(2025, 4, 15);
  Click(LeftButton, 230, 38);
  ExpectShown(2025, 4, 15);
}

TEST_F(CalendarWndTest, PreviousYearButtonKeepsItsHoverImageAfterItsAction) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 20, 20);
  ExpectShown(2023, 3, 15);
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_EQ(host.Face.Calls.back(), PreviousYearHover);
  EXPECT_EQ(host.SurfaceChanges, 2);  // the repaint and the hover image
}

TEST_F(CalendarWndTest, PreviousYearButtonAt1950StillShowsItsHoverImage) {
  StartOn({1950, 3, 15});
  Click(LeftButton, 20, 20);
  ExpectShown(1950, 3, 15);
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{PreviousYearHover});
}

TEST_F(CalendarWndTest, OtherArrowButtonsLeaveTheNormalImages) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 100, 20);
  ASSERT_FALSE(host.Face.Calls.empty());
  EXPECT_TRUE(std::holds_alternative<TextCall>(host.Face.Calls.back()))
      << "the repaint ends with the studio line";
}

TEST_F(CalendarWndTest, HideButtonHidesTheWindowAndRenamesMenuItem100) {
  StartOn({2024, 3, 15});
  Click(LeftButton, 400, 35);
  EXPECT_EQ(host.Events, (std::vector<std::string>{"hide", "menu 100 显示日历"}));
  ExpectShown(2024, 3, 15);
}

TEST_F(CalendarWndTest, RightClickOnAButtonRunsItToo) {
  StartOn({2024, 3, 15});
  Click(RightButton, 210, 20);
  ExpectShown(2024, 4, 15);
}

// ---- Links ----

TEST_F(CalendarWndTest, ReleaseOnALinkOpensItsAddress) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "甲", "http://example.test/a"},
                                 {{410, 210, 533, 250}, "乙", "http://example.test/b"}};
  wnd.State.LinkCount = 2;
  Click(LeftButton, 410, 210);
  Click(LeftButton, 450, 240);
  EXPECT_EQ(host.OpenedUrls,
            (std::vector<std::string>{"http://example.test/a", "http://example.test/b"}));
}

TEST_F(CalendarWndTest, ReleaseOnALinksRightOrBottomEdgeOpensNothing) {
  StartOn({2024, 3, 15});
  wnd.State.AnnouncementLinks = {{{410, 210, 533, 230}, "甲", "http://example.test/a"}};
  wnd.State.LinkCount = 1;
  Click(LeftButton, 533, 220);
  Click(LeftButton, 450, 230);
  EXPECT_TRUE(host.OpenedUrls.empty());
}

// ---- Hover ----

TEST_F(CalendarWndTest, MovingOntoACellHoversItAsksForTheLeaveReportAndRepaints) {
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
}

TEST_F(CalendarWndTest, MovingInsideTheSameCellDoesNotRepaint) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, CentreX(10), CentreY(10));
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, CentreX(10) + 1, CentreY(10));
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
  EXPECT_EQ(host.LeaveRequests, 1);
}

TEST_F(CalendarWndTest, MovingOffTheGridClearsTheHover) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, CentreX(10), CentreY(10));
  wnd.OnMouseMove(0, 0, 470, 260);
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_EQ(host.LeaveRequests, 2);
}

TEST_F(CalendarWndTest, ArrowHoverImagesComeFromTheBlueFrames) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, 12, 12);
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{Frame(23, 12)});
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 117, 38);
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{Frame(69, 94)});
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 147, 12);
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{Frame(23, 124)});
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 206, 38);
  EXPECT_EQ(host.Face.Calls, std::vector<CanvasCall>{Frame(69, 206)});
  EXPECT_EQ(host.LeaveRequests, 4);
  EXPECT_EQ(host.SurfaceChanges, 4);
}

TEST_F(CalendarWndTest, MovingFromAnArrowOntoTheYearTextRestoresAllFourArrows) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, 20, 20);
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 36, 20);
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
}

TEST_F(CalendarWndTest, OverTheHideButtonAllArrowsAreNormal) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, 380, 20);
  EXPECT_EQ(host.Face.Calls, AllArrowsNormal);
}

TEST_F(CalendarWndTest, OverBackToTodayNothingIsDrawn) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, 20, 20);
  host.Face.Clear();
  wnd.OnMouseMove(0, 0, 250, 20);
  EXPECT_TRUE(host.Face.Calls.empty());
}

TEST_F(CalendarWndTest, MouseLeaveClearsTheHoverAndRepaints) {
  StartOn({2024, 3, 15});
  wnd.OnMouseMove(0, 0, CentreX(10), CentreY(10));
  host.Face.Clear();
  wnd.OnMouseLeave();
  EXPECT_EQ(wnd.State.HoverCell, -1);
  EXPECT_TRUE(Repainted());
}

TEST_F(CalendarWndTest, HandCursorFollowsTheButtonsAndLinks) {
  StartOn({2024, 3, 15});
  EXPECT_TRUE(wnd.ShowsHandCursor(35, 38));
  EXPECT_FALSE(wnd.ShowsHandCursor(36, 20));
  EXPECT_FALSE(wnd.ShowsHandCursor(CentreX(3), CentreY(3)));
}

}  // namespace
}  // namespace kelvo::testing
