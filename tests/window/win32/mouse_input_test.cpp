// Real mouse input (SendInput) reaching the calendar window's handlers.
// What each gesture decides is pinned natively (tests/window).
#include <windows.h>

#include <thread>

#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi = {dx, dy, 0, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}

class MouseInput : public LoadedWindow {
 protected:
  void SetUp() override {
    LoadedWindow::SetUp();
    SetForegroundWindow(Handle());
  }
  // To a client point, with a real move event so the window gets WM_MOUSEMOVE.
  void MoveTo(int x, int y) {
    POINT point{x, y};
    ClientToScreen(Handle(), &point);
    SetCursorPos(point.x, point.y);
    Send(MOUSEEVENTF_MOVE);
    PumpMessages(3);
  }
  RECT Frame() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    return rect;
  }
};

// A click steps the month; moving onto a day outlines it.
TEST_F(MouseInput, ClicksAndMovesReachTheHandlers) {
  ShowMonth(2021, 2);
  MoveTo(215, 25);  // the next-month arrow
  Send(MOUSEEVENTF_LEFTDOWN);
  Send(MOUSEEVENTF_LEFTUP);
  PumpMessages(3);
  EXPECT_EQ(window->State().ShownMonth, 3);
  ShowMonth(2021, 2);
  const Rect cell = window->State().DayCells[15].CellRect;  // the 16th
  MoveTo(cell.Left + 20, cell.Top + 20);
  EXPECT_EQ(window->State().HoverCell, 15);
  EXPECT_EQ(SurfacePixel(cell.Left + 1, cell.Top + 20), (Color{255, 187, 0}));
}

// The system's move loop runs inside the press handler, so the rest of a
// left drag comes from another thread, as a user's hand would. A right
// press does not drag.
TEST_F(MouseInput, LeftDragOnEmptySpaceMovesTheWindowRightDragDoesNot) {
  const RECT before = Frame();
  MoveTo(60, 25);  // the year text: no button there
  Send(MOUSEEVENTF_RIGHTDOWN);
  Send(MOUSEEVENTF_MOVE, -100, 0);
  Send(MOUSEEVENTF_RIGHTUP);
  PumpMessages(5);
  EXPECT_EQ(Frame().left, before.left);
  MoveTo(60, 25);
  std::thread hand([] {
    Sleep(300);
    Send(MOUSEEVENTF_MOVE, -100, 50);
    Sleep(300);
    Send(MOUSEEVENTF_LEFTUP);
  });
  Send(MOUSEEVENTF_LEFTDOWN);
  PumpMessages(3);
  hand.join();
  PumpMessages(5);
  const RECT after = Frame();
  // The pointer speed setting decides how far; the size stays.
  EXPECT_LT(after.left, before.left);
  EXPECT_GT(after.top, before.top);
  EXPECT_EQ(after.right - after.left, 538);
  EXPECT_EQ(after.bottom - after.top, 370);
  MoveWindow(Handle(), before.left, before.top, 538, 370, TRUE);
}

}  // namespace
}  // namespace kelvo::testing
