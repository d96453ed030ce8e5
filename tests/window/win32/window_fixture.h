#pragma once
// The calendar window as the program starts it, for the tests under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop/win32/platform_text.h"
#include "window/win32/calendar_window.h"

namespace kelvo::testing {

// Handles this thread's queued paints, timers and input (WM_QUIT dropped).
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

inline std::string ShowHideText(CalendarWindow& window) {
  wchar_t text[64] = {};
  GetMenuStringW(window.TrayMenu().Handle(), 0, text, 64, MF_BYPOSITION);
  return FromWide(text);
}

// One window per suite (each start and unload costs seconds under Wine);
// each test begins on today's month, nothing hovered, the window enabled
// and visible, the mouse away.
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
  static inline std::unique_ptr<CalendarWindow> s_window;
  CalendarWindow* const window = s_window.get();
};

}  // namespace kelvo::testing
