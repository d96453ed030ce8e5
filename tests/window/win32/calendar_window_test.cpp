// The calendar window as the program creates it: attributes, position, the
// painted retained surface and the shutdown.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

constexpr Color FrameBlue{87, 171, 255};
constexpr Color White{255, 255, 255};
constexpr Color Orange{255, 187, 0};
constexpr Color GridRule{200, 202, 204};
constexpr Color PanelTop{85, 170, 255};

::testing::AssertionResult Near(Color actual, Color expected, int tolerance) {
  if (std::abs(actual.Red - expected.Red) <= tolerance &&
      std::abs(actual.Green - expected.Green) <= tolerance &&
      std::abs(actual.Blue - expected.Blue) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "(" << int(actual.Red) << ", " << int(actual.Green) << ", " << int(actual.Blue)
         << ") is not within " << tolerance << " of (" << int(expected.Red) << ", "
         << int(expected.Green) << ", " << int(expected.Blue) << ")";
}

using CalendarWindowAttributes = LoadedWindow;

// 538 x 370 at the top right corner, all client area; a visible captionless,
// borderless tool window owned by a hidden window, so no taskbar lists it.
TEST_F(CalendarWindowAttributes, ToolWindowOf538By370AtTheTopRightCorner) {
  RECT frame{}, client{};
  GetWindowRect(Handle(), &frame);
  GetClientRect(Handle(), &client);
  EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) - 538);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 538);
  EXPECT_EQ(frame.bottom - frame.top, 370);
  EXPECT_EQ(client.right, 538);
  EXPECT_EQ(client.bottom, 370);

  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR extended = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  EXPECT_TRUE(extended & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(extended & WS_EX_APPWINDOW);
  EXPECT_EQ(style & WS_CAPTION, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_EQ(style & WS_SYSMENU, 0);
  EXPECT_TRUE(style & WS_POPUP);

  HWND owner = GetWindow(Handle(), GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_TRUE(IsWindowVisible(Handle()));
  wchar_t caption[32] = {};
  GetWindowTextW(Handle(), caption, 32);
  EXPECT_STREQ(caption, L"Kelvo日历");
  // Searching by caption finds the calendar, not its owner.
  EXPECT_EQ(FindWindowW(nullptr, L"Kelvo日历"), Handle());
}

// The wake-up property, the TaskBarCreated message, both window icons and
// the tray icon, the hand cursor, both pictures, and Timer1 running.
TEST_F(CalendarWindowAttributes, LoadMakesEverythingTheWindowUses) {
  EXPECT_EQ(GetPropA(Handle(), "KelvoCalendar_WakeUp"), reinterpret_cast<HANDLE>(1));
  EXPECT_EQ(window->TaskbarCreatedMsg(), RegisterWindowMessageA("TaskBarCreated"));
  EXPECT_NE(window->TaskbarCreatedMsg(), 0u);
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(window->TrayIcon(), nullptr);
  EXPECT_NE(window->HandCursor(), nullptr);
  EXPECT_NE(window->HidePicture(), nullptr);
  EXPECT_NE(window->ArrowStrip(), nullptr);
  // Killing a timer succeeds only for a running one.
  EXPECT_TRUE(KillTimer(Handle(), CalendarWindow::Timer1Id));
  window->SetTimer1Enabled(true);
}

TEST_F(CalendarWindowAttributes, StartsOnTodaysMonthWithTodaySelected) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(window->State().ShownYear, now.wYear);
  EXPECT_EQ(window->State().ShownMonth, now.wMonth);
  EXPECT_EQ(window->State().SelectedDay, now.wDay);
  EXPECT_EQ(window->State().HoverCell, -1);
  EXPECT_NE(window->State().LastNetTry, 0u);
}

using PaintedSurface = LoadedWindow;

TEST_F(PaintedSurface, HasATwoPixelFrameAroundWhite) {
  EXPECT_EQ(SurfacePixel(0, 0), FrameBlue);
  EXPECT_EQ(SurfacePixel(1, 1), FrameBlue);
  EXPECT_EQ(SurfacePixel(537, 369), FrameBlue);
  EXPECT_EQ(SurfacePixel(536, 200), FrameBlue);
  EXPECT_EQ(SurfacePixel(2, 200), White);
  EXPECT_EQ(SurfacePixel(300, 2), White);
}

TEST_F(PaintedSurface, HeaderRuleIsOneBluePixelHigh) {
  EXPECT_EQ(SurfacePixel(200, 47), White);
  EXPECT_EQ(SurfacePixel(200, 48), FrameBlue);
  EXPECT_EQ(SurfacePixel(12, 48), FrameBlue);
  EXPECT_EQ(SurfacePixel(396, 48), FrameBlue);
  EXPECT_EQ(SurfacePixel(397, 48), White);
}

TEST_F(PaintedSurface, DatePanelRunsFromTopToBottomColour) {
  EXPECT_TRUE(Near(SurfacePixel(410, 3), PanelTop, 1));
  EXPECT_TRUE(Near(SurfacePixel(410, 185), {100, 177, 255}, 1));
  EXPECT_TRUE(Near(SurfacePixel(410, 366), {115, 185, 255}, 1));
  // The panel ends where the frame begins.
  EXPECT_EQ(SurfacePixel(407, 100), White);
}

TEST_F(PaintedSurface, BigDayBoxIsOrange) {
  EXPECT_EQ(SurfacePixel(435, 50), Orange);
  EXPECT_EQ(SurfacePixel(509, 124), Orange);
  EXPECT_EQ(SurfacePixel(437, 122), Orange);
  EXPECT_TRUE(Near(SurfacePixel(434, 50), PanelTop, 12));
}

TEST_F(PaintedSurface, PanelSeparatorIsABandTwoPixelsHigh) {
  constexpr Color Separator{148, 201, 255};
  EXPECT_EQ(SurfacePixel(418, 200), Separator);
  EXPECT_EQ(SurfacePixel(527, 201), Separator);
  EXPECT_NE(SurfacePixel(470, 199), Separator);
  EXPECT_NE(SurfacePixel(470, 202), Separator);
}

TEST_F(PaintedSurface, TodaysCellIsFilledOrange) {
  const CalendarState& state = window->State();
  int today = -1;
  for (int i = 0; i < state.CellCount; ++i) {
    if (state.DayCells[i].IsToday) today = i;
  }
  ASSERT_GE(today, 0);
  const Rect cell = state.DayCells[today].CellRect;
  EXPECT_EQ(SurfacePixel(cell.Left, cell.Top), Orange);
  EXPECT_EQ(SurfacePixel(cell.Left + 1, cell.Top + 1), Orange);
  EXPECT_EQ(SurfacePixel(cell.Right - 1, cell.Bottom - 1), Orange);
  EXPECT_EQ(SurfacePixel(cell.Right - 2, cell.Top + 2), Orange);
}

TEST_F(PaintedSurface, FiveRowMonthHasItsGridRulesEvery55Pixels) {
  ShowMonth(2021, 2);  // Monday 1st, 28 days: 35 cells
  ASSERT_EQ(window->State().CellCount, 35);
  for (int y : {82, 137, 192, 247, 302}) {
    EXPECT_EQ(SurfacePixel(40, y), GridRule) << "y = " << y;
    EXPECT_EQ(SurfacePixel(40, y + 1), White) << "y = " << y + 1;
  }
  EXPECT_EQ(SurfacePixel(40, 356), White);
  EXPECT_EQ(SurfacePixel(40, 357), White);
}

TEST_F(PaintedSurface, SixRowMonthHasItsGridRulesEvery46Pixels) {
  ShowMonth(2021, 5);  // Saturday 1st, 31 days: 42 cells
  ASSERT_EQ(window->State().CellCount, 42);
  for (int y : {82, 128, 174, 220, 266, 312}) {
    EXPECT_EQ(SurfacePixel(40, y), GridRule) << "y = " << y;
  }
}

TEST_F(PaintedSurface, SelectedDayHasAnOrangeOutlineThreePixelsWide) {
  window->State().SelectedDay = 10;
  ShowMonth(2021, 2);  // the 10th is cell 9: row 1, column 2
  const Rect cell = window->State().DayCells[9].CellRect;
  EXPECT_EQ(cell, (Rect{122, 138, 176, 192}));
  EXPECT_EQ(SurfacePixel(122, 160), Orange);
  EXPECT_EQ(SurfacePixel(124, 160), Orange);
  EXPECT_EQ(SurfacePixel(125, 160), White);
  EXPECT_EQ(SurfacePixel(175, 191), Orange);
}

TEST_F(PaintedSurface, WindowShowsTheRetainedSurfaceWhenPainted) {
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC screen = GetDC(Handle());
  const COLORREF corner = GetPixel(screen, 0, 0);
  const COLORREF bigDay = GetPixel(screen, 437, 52);
  ReleaseDC(Handle(), screen);
  EXPECT_EQ(corner, RGB(87, 171, 255));
  EXPECT_EQ(bigDay, RGB(255, 187, 0));
}

// Records, from inside WM_DESTROY, whether the property is still there. A
// thread hook sees the message whatever procedures the window has.
bool g_propertyAtDestroy = true;
HWND g_watched = nullptr;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->hwnd == g_watched && call->message == WM_DESTROY) {
    g_propertyAtDestroy = GetPropA(call->hwnd, "KelvoCalendar_WakeUp") != nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(CalendarWindowShutdown, UnloadRemovesTheWakeUpPropertyBeforeTheWindowGoes) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  g_watched = hWnd;
  g_propertyAtDestroy = true;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
  window->Unload();
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(g_propertyAtDestroy);
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(window->Handle(), nullptr);
  // The message loop ends with the window.
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  // Unloading again is harmless.
  window->Unload();
}

TEST(CalendarWindowShutdown, CloseRequestUnloadsTheWindow) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  SendMessageW(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hWnd));
  PumpMessages(1);
}

TEST(CalendarWindowStartUp, MissingBitmapResourcesStopTheLoadWithAFault) {
  // kernel32 carries no bitmap 101: the load must fail loudly, not paint
  // a face without its pictures.
  CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(L"kernel32.dll"));
  HWND hWnd = window.Handle();
  EXPECT_THROW(window.OnLoad(), std::runtime_error);
  window.Unload();
  EXPECT_FALSE(IsWindow(hWnd));
  PumpMessages(1);
}

// Calendar windows of this thread (Wine adds IME windows of its own).
int CalendarWindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hWnd, LPARAM counter) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(hWnd, name, 64);
        if (std::wstring_view(name) == CalendarWindow::ClassName)
          ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(CalendarWindowShutdown, ReleasingTheWindowGivesBackEveryObjectItMade) {
  // Wine does not count GDI and user objects per process (GetGuiResources
  // answers 0), so every object the window made is checked by its handle.
  const int windowsBefore = CalendarWindowsOfThisThread();
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  EXPECT_EQ(CalendarWindowsOfThisThread(), windowsBefore + 1);
  std::vector<HGDIOBJ> objects = window->RetainedSurface().GdiObjects();
  objects.push_back(window->HidePicture());
  objects.push_back(window->ArrowStrip());
  for (HGDIOBJ object : objects) ASSERT_NE(GetObjectType(object), 0u);
  EXPECT_GE(objects.size(), 8u);  // DCs, surface, pictures, the face's fonts
  HMENU menu = window->TrayMenu().Handle();
  HWND hWnd = window->Handle();
  HWND owner = GetWindow(hWnd, GW_OWNER);

  window.reset();
  PumpMessages(1);
  for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u) << object;
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_EQ(CalendarWindowsOfThisThread(), windowsBefore);
}

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Figures, not assertions: the face repaints on every hover change.
TEST_F(PaintedSurface, PrintsTheCostOfAFullPaint) {
  constexpr int Paints = 200;
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < Paints; ++i) window->Calendar().PaintCalendar();
  GdiFlush();
  const double paint = MillisecondsSince(start) / Paints;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < Paints; ++i) window->Calendar().NextMonth();
  GdiFlush();
  const double build = MillisecondsSince(start) / Paints;
  std::printf("[ figures  ] PaintCalendar %.3f ms, BuildMonth with paint %.3f ms\n", paint, build);
}

TEST(CalendarWindowStartUp, PrintsTheTimeToTheFirstPaintedFace) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(nullptr));
  window.OnLoad();
  window.Show();  // shows and paints the face
  const double startUp = MillisecondsSince(start);
  std::printf("[ figures  ] create, load and first paint %.1f ms\n", startUp);
  window.Unload();
  PumpMessages(1);
}

}  // namespace
}  // namespace kelvo::testing
