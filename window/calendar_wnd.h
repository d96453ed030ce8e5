#pragma once
#include <cstdint>
#include <optional>

#include "window/calendar_state.h"
#include "window/face_palette.h"
#include "window/navigation.h"
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
  // The colours of the face: the normal ones, or the system's under high contrast.
  FacePalette Palette = NormalPalette;

  // Start-up: show today's month with today selected and nothing hovered.
  void StartAtToday();
  // Rebuilds the cells of (year, month) and repaints; callers set ShownYear
  // and ShownMonth first.
  void BuildMonth(int16_t year, int16_t month);
  // Takes `holidays` as the schedule the cells read; when it changes a mark
  // of the shown month, rebuilds and repaints the month at once.
  void SetHolidays(HolidaySchedule holidays);
  // Takes `days` as the own days the cells mark; rebuilds and repaints.
  void SetOwnDays(std::vector<OwnDay> days);
  // Shows `date`'s month with `date` selected, within the navigation range.
  void ShowDate(Date date);
  // The full redraw of the face; ends with host.SurfaceChanged().
  void PaintCalendar();

  // button: LeftButton, RightButton or MiddleButton; shift is not used.
  void OnMouseDown(int button, int shift, int x, int y);
  void OnMouseMove(int button, int shift, int x, int y);
  void OnMouseUp(int button, int shift, int x, int y);
  // The mouse left the window: no cell is hovered any more; repaint.
  void OnMouseLeave();
  // The system clock was set: show the current month. A face that followed
  // today (see OnDateChange) selects the new today; otherwise SelectedDay
  // stays.
  void OnTimeChange();
  // The local date may have moved on: midnight passed, the machine woke
  // from sleep or the time zone changed. A face showing today's month with
  // today selected moves to the new today's month with the new today
  // selected; any other view stays as it is and only the today mark moves.
  void OnDateChange();
  // Whether the face shows today's month with today selected, as of its
  // last build.
  bool FollowsToday() const;

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

  // The keyboard while the face is active and no list is open; key is a
  // virtual-key number.
  void OnKeyDown(int key, bool control);
  // delta as the platform reports it: positive turned away from the user.
  void OnMouseWheel(int16_t delta, int x, int y);
  // Moves the selection by whole days, showing the month it lands in;
  // never before 1950-01-01 or after 2050-12-31.
  void MoveSelection(int days);
  // The year or month list's item `index` was chosen: the list closes and
  // the face shows that year or month, within the navigation range.
  void ChooseFromList(int index);
  // The open list closes without a change.
  void CloseList();
  std::optional<SelectorList> OpenList() const { return m_openList; }
  // Drops the year or month list down, as a press on its text that moves
  // nothing does.
  void ShowList(SelectorList list);

 private:
  void HideLikeTheHideButton();

  WindowHost& m_host;
  std::optional<SelectorList> m_openList;
  // A press that closed a list: its release does nothing either.
  bool m_ignoreRelease = false;
  WheelNotches m_wheel;
};

}  // namespace kelvo
