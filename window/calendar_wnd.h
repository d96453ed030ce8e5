#pragma once
#include <cstdint>

#include "window/calendar_state.h"
#include "window/window_host.h"

namespace kelvo {

// Mouse buttons as the handlers receive them.
enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// The calendar window without its platform: month building, painting, mouse
// handling and navigation. The Win32 window owns one, forwards its mouse
// messages here and implements WindowHost for it.
class CalendarWnd {
 public:
  explicit CalendarWnd(WindowHost& host) : m_host(host) {}
  CalendarWnd(const CalendarWnd&) = delete;
  CalendarWnd& operator=(const CalendarWnd&) = delete;

  CalendarState State;

  // Start-up: show today's month with today selected and nothing hovered.
  void StartAtToday();
  // Rebuilds the cells of (year, month) and repaints; callers set ShownYear
  // and ShownMonth first.
  void BuildMonth(int16_t year, int16_t month);
  // Takes `holidays` as the schedule the cells read; when it changes a mark
  // of the shown month, rebuilds and repaints the month at once.
  void SetHolidays(HolidaySchedule holidays);
  // The full redraw of the face; ends with host.SurfaceChanged().
  void PaintCalendar();

  // button: LeftButton, RightButton or MiddleButton; shift is not used.
  void OnMouseDown(int button, int shift, int x, int y);
  void OnMouseMove(int button, int shift, int x, int y);
  void OnMouseUp(int button, int shift, int x, int y);
  // The mouse left the window: no cell is hovered any more; repaint.
  void OnMouseLeave();
  // The system date changed: show the current month (SelectedDay stays).
  void OnTimeChange();

  // Navigation within January 1950 .. December 2050; a step past either end
  // does nothing.
  void LastYear();
  void NextYear();
  void LastMonth();
  void NextMonth();
  // Today's month with today selected ("返回今天").
  void BackToToday();

  // Whether the window procedure should show the hand cursor at (x, y).
  bool ShowsHandCursor(int x, int y) const;

 private:
  WindowHost& m_host;
};

}  // namespace kelvo
