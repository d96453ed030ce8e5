#pragma once
// A calendar window created, loaded and shown as the program does, for the
// tests that run it under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop/win32/platform_text.h"
#include "window/win32/calendar_window.h"

namespace kelvo::testing {

// Runs this thread's queued messages for a few rounds, so that posted
// paints, timers and input have been handled. WM_QUIT is dropped.
inline void PumpMessages(int rounds = 5) {
  for (MSG message; rounds-- > 0; Sleep(20)) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_QUIT) DispatchMessageW(&message);
    }
  }
}

inline std::unique_ptr<CalendarWindow> StartCalendarWindow() {
  SetCursorPos(20, 780);  // away from the window
  auto window = std::make_unique<CalendarWindow>();
  window->OnInitialize();
  window->Create(GetModuleHandleW(nullptr));
  window->OnLoad();
  window->Show();
  PumpMessages();
  return window;
}

inline std::string MenuItemText(HMENU menu, UINT position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return FromWide(text);
}

// One calendar window shared by the tests of a suite (each start and
// unload costs seconds under Wine). Every test begins on today's month,
// nothing hovered, the window enabled and visible and the mouse away.
class LoadedWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_window = StartCalendarWindow(); }
  static void TearDownTestSuite() { s_window.reset(); }
  void SetUp() override {
    SetCursorPos(20, 780);
    window->State().HoverCell = -1;
    window->Calendar().BackToToday();
    window->SetMenuItemText(IDM_SHOWHIDE, "隐藏日历");
    EnableWindow(Handle(), TRUE);
    ShowWindow(Handle(), SW_SHOW);
    PumpMessages(1);
  }
  HWND Handle() const { return window->Handle(); }
  COLORREF SurfacePixel(int x, int y) {
    const Color c = window->RetainedSurface().PixelAt(x, y);
    return RGB(c.Red, c.Green, c.Blue);
  }
  void ShowMonth(int16_t year, int16_t month) {  // as navigation does
    window->State().ShownYear = year;
    window->State().ShownMonth = month;
    window->Calendar().BuildMonth(year, month);
  }
  static inline std::unique_ptr<CalendarWindow> s_window;
  CalendarWindow* const window = s_window.get();
};

}  // namespace kelvo::testing
