// The calendar window as the program creates it: attributes, real GDI
// pixels of one face, real mouse input (SendInput) reaching its handlers,
// and the shutdown. What each gesture decides is pinned natively.
#include <windows.h>

#include <cstdlib>
#include <thread>

#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

using CalendarWindowTest = LoadedWindow;

// February 2021: Monday 1st, 28 days, the 16th at cell 15.
void ShowFebruary2021(CalendarWindow& window) {
  window.State().ShownYear = 2021;
  window.State().ShownMonth = 2;
  window.Calendar().BuildMonth(2021, 2);
}

void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi = {dx, dy, 0, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}

// 538 x 370 at the top right corner, all client area; a captionless,
// borderless tool window owned by a hidden window, so no taskbar lists it.
// Loading made its wake-up mark, icons, tray icon, cursor and pictures, and
// started Timer1.
TEST_F(CalendarWindowTest, ToolWindowAtTheTopRightCornerWithEverythingItUses) {
  RECT frame{}, client{};
  GetWindowRect(Handle(), &frame);
  GetClientRect(Handle(), &client);
  EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) - 538);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 538);
  EXPECT_EQ(frame.bottom - frame.top, 370);
  EXPECT_EQ(client.right * 1000 + client.bottom, 538370);
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR extended = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  EXPECT_EQ(extended & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP), WS_POPUP);
  HWND owner = GetWindow(Handle(), GW_OWNER);
  EXPECT_TRUE(owner && !IsWindowVisible(owner));
  EXPECT_EQ(FindWindowW(nullptr, L"Kelvo日历"), Handle());  // the calendar, not its owner
  EXPECT_EQ(GetPropA(Handle(), "KelvoCalendar_WakeUp"), reinterpret_cast<HANDLE>(1));
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_TRUE(window->TrayIcon() && window->HandCursor());
  EXPECT_TRUE(window->HidePicture() && window->ArrowStrip());
  EXPECT_NE(window->State().LastNetTry, 0u);
  EXPECT_TRUE(KillTimer(Handle(), CalendarWindow::Timer1Id));  // succeeds only when running
  window->SetTimer1Enabled(true);
}

// One face through GDI: frame, header rule, panel gradient, big day box,
// separator band, the five-row grid's rules and the three-pixel selection
// outline, then on screen.
TEST_F(CalendarWindowTest, PaintsTheFaceThroughGdiAndShowsIt) {
  window->State().SelectedDay = 10;
  ShowFebruary2021(*window);  // the 10th at (122, 138)-(176, 192)
  // x, y, colour, tolerance per channel (the gradient is dithered)
  const int rows[][4] = {{0, 0, 0x57ABFF, 0},     {1, 1, 0x57ABFF, 0},     {200, 48, 0x57ABFF, 0},
                         {410, 3, 0x55AAFF, 1},   {410, 185, 0x64B1FF, 1}, {410, 366, 0x73B9FF, 1},
                         {435, 50, 0xFFBB00, 0},  {418, 200, 0x94C9FF, 0}, {40, 82, 0xC8CACC, 0},
                         {40, 83, 0xFFFFFF, 0},   {122, 160, 0xFFBB00, 0}, {124, 160, 0xFFBB00, 0},
                         {125, 160, 0xFFFFFF, 0}, {175, 191, 0xFFBB00, 0}};
  for (const auto& [x, y, rgb, tolerance] : rows) {
    const Color c = window->RetainedSurface().PixelAt(x, y);
    for (int channel : {c.Red - (rgb >> 16), c.Green - (rgb >> 8 & 0xFF), c.Blue - (rgb & 0xFF)}) {
      EXPECT_LE(std::abs(channel), tolerance)
          << x << "," << y << ": " << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
    }
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC screen = GetDC(Handle());
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(87, 171, 255));
  EXPECT_EQ(GetPixel(screen, 437, 52), RGB(255, 187, 0));
  ReleaseDC(Handle(), screen);
}

// A click steps the month; a real move onto a day outlines it; the hide
// button takes the face off the screen (not down to a minimised title bar).
TEST_F(CalendarWindowTest, ClicksAndMovesReachTheHandlers) {
  SetForegroundWindow(Handle());
  ShowFebruary2021(*window);
  const Rect cell = window->State().DayCells[15].CellRect;  // the 16th
  const auto moveTo = [&](POINT p, bool click) {
    ClientToScreen(Handle(), &p);
    SetCursorPos(p.x, p.y);
    Send(MOUSEEVENTF_MOVE);
    if (click) Send(MOUSEEVENTF_LEFTDOWN), Send(MOUSEEVENTF_LEFTUP);
    PumpMessages(3);
  };
  moveTo({215, 25}, true);  // the next-month arrow
  moveTo({cell.Left + 20, cell.Top + 20}, false);
  EXPECT_EQ(window->State().ShownMonth, 3);
  EXPECT_EQ(window->State().HoverCell, 15);
  EXPECT_EQ(window->RetainedSurface().PixelAt(cell.Left + 1, cell.Top + 20), (Color{255, 187, 0}));
  moveTo({388, 22}, true);
  EXPECT_FALSE(IsWindowVisible(Handle()) || IsIconic(Handle()));
  EXPECT_EQ(ShowHideText(*window), "显示日历");
}

// A left press on empty space starts the system's move loop inside its
// handler, so the rest of the drag comes from another thread, as a user's
// hand would.
TEST_F(CalendarWindowTest, DraggingEmptySpaceMovesTheWindow) {
  SetForegroundWindow(Handle());
  RECT before{}, after{};
  GetWindowRect(Handle(), &before);
  SetCursorPos(before.left + 60, before.top + 25);  // the year text: no button there
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
  GetWindowRect(Handle(), &after);  // as far as the pointer speed setting says
  EXPECT_LT(after.left, before.left);
  EXPECT_GT(after.top, before.top);
  EXPECT_FALSE(window->Calendar().OpenList());  // only a press that moved nothing opens it
  EXPECT_EQ(after.right - after.left, 538);
  EXPECT_EQ(after.bottom - after.top, 370);
  MoveWindow(Handle(), before.left, before.top, 538, 370, TRUE);
}

// A close request unloads: the window goes and the message loop ends;
// unloading again is harmless.
TEST(CalendarWindowShutdown, CloseRequestTakesTheWindowAndEndsTheLoop) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  SendMessageW(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hWnd));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  window->Unload();
}

// A module without bitmap 101 (kernel32): the load fails loudly instead of
// painting a face without its pictures.
TEST(CalendarWindowShutdown, MissingBitmapResourcesStopTheLoadWithAFault) {
  CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(L"kernel32.dll"));
  HWND hWnd = window.Handle();
  EXPECT_THROW(window.OnLoad(), std::runtime_error);
  window.Unload();
  EXPECT_FALSE(IsWindow(hWnd));
  PumpMessages(1);
}

}  // namespace
}  // namespace kelvo::testing
