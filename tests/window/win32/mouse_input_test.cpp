// Real mouse input (SendInput) on the calendar window: the arrows step the
// month and year, "返回今天" comes back, hovering outlines a cell, the hide
// button hides the window.
#include <windows.h>

#include <thread>

#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

constexpr Color Orange{255, 187, 0};
constexpr Color White{255, 255, 255};
constexpr Color HoverBlue{56, 156, 255};
constexpr Color ChevronGrey{122, 122, 122};

class MouseInput : public LoadedWindow {
 protected:
  void SetUp() override {
    LoadedWindow::SetUp();
    SetForegroundWindow(Handle());
    MoveAway();
  }
  void TearDown() override { MoveAway(); }

  // Client point to screen and move the cursor there.
  void MoveTo(int x, int y) {
    POINT point{x, y};
    ClientToScreen(Handle(), &point);
    SetCursorPos(point.x, point.y);
    // A real move event, so the window gets WM_MOUSEMOVE.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    PumpMessages(3);
  }
  void Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    PumpMessages(3);
  }
  void ClickAt(int x, int y, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    MoveTo(x, y);
    Button(down);
    Button(up);
  }
  void MoveAway() {
    SetCursorPos(20, 780);
    PumpMessages(2);
  }
  CalendarState& State() { return window->State(); }
};

TEST_F(MouseInput, NextMonthArrowStepsOneMonth) {
  ShowMonth(2024, 3);
  ClickAt(215, 25);
  EXPECT_EQ(State().ShownYear, 2024);
  EXPECT_EQ(State().ShownMonth, 4);
}

TEST_F(MouseInput, PreviousMonthArrowCrossesIntoTheYearBefore) {
  ShowMonth(2024, 1);
  ClickAt(124, 38);  // the corner still belongs to the button
  EXPECT_EQ(State().ShownYear, 2023);
  EXPECT_EQ(State().ShownMonth, 12);
}

TEST_F(MouseInput, YearArrowsStepOneYearAndKeepTheMonth) {
  ShowMonth(2024, 3);
  ClickAt(100, 20);
  EXPECT_EQ(State().ShownYear, 2025);
  ClickAt(20, 20);
  ClickAt(20, 20);
  EXPECT_EQ(State().ShownYear, 2023);
  EXPECT_EQ(State().ShownMonth, 3);
}

TEST_F(MouseInput, PreviousYearButtonKeepsItsHoverImageAfterTheClick) {
  ShowMonth(2024, 3);
  ClickAt(20, 20);
  EXPECT_EQ(window->RetainedSurface().PixelAt(12, 12), HoverBlue);
}

TEST_F(MouseInput, HoveringAnArrowShowsItsBlueFrameAndLeavingRestoresIt) {
  ShowMonth(2024, 3);
  MoveTo(210, 20);
  EXPECT_EQ(window->RetainedSurface().PixelAt(206, 12), HoverBlue);
  EXPECT_EQ(window->RetainedSurface().PixelAt(206 + 13, 12 + 12), HoverBlue);
  MoveTo(60, 44);  // empty header space
  EXPECT_NE(window->RetainedSurface().PixelAt(206, 12), HoverBlue);
  // The point of the right chevron, at row 12 of the frame.
  EXPECT_EQ(window->RetainedSurface().PixelAt(206 + 13, 12 + 12), ChevronGrey);
}

TEST_F(MouseInput, BackToTodayReturnsToTheCurrentMonth) {
  ShowMonth(1990, 6);
  ClickAt(270, 25);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(State().ShownYear, now.wYear);
  EXPECT_EQ(State().ShownMonth, now.wMonth);
  EXPECT_EQ(State().SelectedDay, now.wDay);
}

TEST_F(MouseInput, HoveringACellDrawsTheOrangeOutline) {
  State().SelectedDay = 1;
  ShowMonth(2021, 2);
  const Rect cell = State().DayCells[15].CellRect;  // the 16th
  EXPECT_EQ(window->RetainedSurface().PixelAt(cell.Left + 1, cell.Top + 20), White);
  MoveTo(cell.Left + 20, cell.Top + 20);
  EXPECT_EQ(State().HoverCell, 15);
  EXPECT_EQ(window->RetainedSurface().PixelAt(cell.Left + 1, cell.Top + 20), Orange);
}

TEST_F(MouseInput, ClickingADaySelectsIt) {
  State().SelectedDay = 1;
  ShowMonth(2021, 2);
  const Rect cell = State().DayCells[15].CellRect;
  ClickAt(cell.Left + 20, cell.Top + 30);
  EXPECT_EQ(State().SelectedDay, 16);
  EXPECT_EQ(State().PanelDateText, "2021-02-16");
}

TEST_F(MouseInput, RightButtonClickOnADaySelectsItToo) {
  State().SelectedDay = 1;
  ShowMonth(2021, 2);
  const Rect cell = State().DayCells[20].CellRect;
  ClickAt(cell.Left + 20, cell.Top + 30, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(State().SelectedDay, 21);
}

TEST_F(MouseInput, HideButtonHidesTheWindowAndRenamesTheMenuItem) {
  ClickAt(387, 22);
  EXPECT_FALSE(IsWindowVisible(Handle()));
  EXPECT_TRUE(IsWindow(Handle()));
  EXPECT_EQ(MenuItemText(window->TrayMenu().Handle(), 0), "显示日历");
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID;
  GetMenuItemInfoW(window->TrayMenu().Handle(), 0, TRUE, &info);
  EXPECT_EQ(info.wID, 100u);
}

TEST_F(MouseInput, DraggingEmptySpaceMovesTheWindow) {
  RECT before{};
  GetWindowRect(Handle(), &before);
  MoveTo(60, 25);  // the year text: no button there
  // The system's move loop runs inside the press handler, so the rest of
  // the gesture comes from another thread, as a user's hand would.
  std::thread hand([] {
    Sleep(300);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    move.mi.dx = -100;
    move.mi.dy = 50;
    SendInput(1, &move, sizeof move);
    Sleep(300);
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
  });
  Button(MOUSEEVENTF_LEFTDOWN);
  hand.join();
  PumpMessages(5);
  RECT after{};
  GetWindowRect(Handle(), &after);
  // The window went the way the pointer went (the pointer speed setting
  // decides how far), keeping its size.
  EXPECT_LT(after.left, before.left);
  EXPECT_GT(after.top, before.top);
  EXPECT_EQ(after.right - after.left, 538);
  EXPECT_EQ(after.bottom - after.top, 370);
  MoveWindow(Handle(), before.left, before.top, 538, 370, TRUE);
}

TEST_F(MouseInput, RightButtonPressOnEmptySpaceDoesNotDrag) {
  RECT before{};
  GetWindowRect(Handle(), &before);
  MoveTo(60, 25);
  INPUT gesture[3] = {};
  for (INPUT& input : gesture) input.type = INPUT_MOUSE;
  gesture[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  gesture[1].mi.dwFlags = MOUSEEVENTF_MOVE;
  gesture[1].mi.dx = -100;
  gesture[2].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  SendInput(3, gesture, sizeof(INPUT));
  PumpMessages(5);
  RECT after{};
  GetWindowRect(Handle(), &after);
  EXPECT_EQ(after.left, before.left);
}

}  // namespace
}  // namespace kelvo::testing
