#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "window/canvas.h"
#include "window/win32/calendar_window.h"

namespace kelvo {
inline void PrintTo(const Color& color, std::ostream* out) {
  *out << "(" << int(color.Red) << ", " << int(color.Green) << ", " << int(color.Blue) << ")";
}
}  // namespace kelvo

namespace kelvo::testing {

// Runs the queued messages of this thread, a few rounds, so that posted
// paints, timers and input have been handled. WM_QUIT from a destroyed
// window is dropped.
void PumpMessages(int rounds = 5);

// Creates and loads a calendar window as the program does, and shows it.
std::unique_ptr<CalendarWindow> StartCalendarWindow();

// One loaded, visible calendar window shared by the tests of a suite (each
// start and unload costs seconds under Wine). Every test begins on today's
// month with today selected, nothing hovered and the window visible at its
// place.
class LoadedWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  HWND Handle() const { return window->Handle(); }
  Color SurfacePixel(int x, int y) { return window->RetainedSurface().PixelAt(x, y); }
  // Shows (year, month) as navigation does.
  void ShowMonth(int16_t year, int16_t month);

  static std::unique_ptr<CalendarWindow> s_window;
  CalendarWindow* window = nullptr;
};

std::string MenuItemText(HMENU menu, UINT position);

}  // namespace kelvo::testing
