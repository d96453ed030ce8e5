#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "window/win32/calendar_window.h"

namespace kelvo {
inline void PrintTo(const Color& c, std::ostream* out) {
  *out << "(" << int(c.Red) << ", " << int(c.Green) << ", " << int(c.Blue) << ")";
}
}  // namespace kelvo

namespace kelvo::testing {

// Runs this thread's queued messages for a few rounds, so that posted
// paints, timers and input have been handled. WM_QUIT is dropped.
void PumpMessages(int rounds = 5);

// Creates, loads and shows a calendar window as the program does.
std::unique_ptr<CalendarWindow> StartCalendarWindow();

// One loaded calendar window shared by the tests of a suite (each start
// costs seconds under Wine). Every test begins on today's month, nothing
// hovered, the window visible and the mouse away from it.
class LoadedWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_window = StartCalendarWindow(); }
  static void TearDownTestSuite() { s_window.reset(); }
  void SetUp() override;
  HWND Handle() const { return window->Handle(); }
  Color SurfacePixel(int x, int y) { return window->RetainedSurface().PixelAt(x, y); }
  void ShowMonth(int16_t year, int16_t month);  // as navigation does

  static inline std::unique_ptr<CalendarWindow> s_window;
  CalendarWindow* window = nullptr;
};

std::string MenuItemText(HMENU menu, UINT position);

}  // namespace kelvo::testing
