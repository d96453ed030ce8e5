#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "net/network_timer.h"
#include "net/win32/mod_holidays.h"
#include "window/calendar_state.h"

namespace kelvo {

// What the network timer needs from the calendar window it runs in.
struct CalendarTimerWindow {
  // The update check (ModMain's CheckForUpdate); may unload the window.
  std::function<bool()> CheckForUpdate;
  // Timer1 off for good.
  std::function<void()> DisableTimer;
  // The full redraw of the face.
  std::function<void()> PaintCalendar;
  // False once the window has been unloaded.
  std::function<bool()> WindowLoaded;
  // Timer1's next tick after this many milliseconds; none keeps its period.
  std::function<void(uint32_t)> ArmTimer;
  // The window and the Timer1 message a fetch's arrival posts; none when
  // the window has no handle.
  std::function<HWND()> Handle;
  UINT_PTR TimerId = 0;
  // The face takes a new holiday schedule (CalendarWnd::SetHolidays).
  std::function<void(HolidaySchedule)> SetHolidays;
};

// Timer1_Timer of the Win32 calendar window: the portable NetworkTimer over
// GetTickCount, the process's announcement fetch (ModGG), the holiday
// file's fetch and store, and the window.
class CalendarNetworkTimer final : private NetworkTimerHost {
 public:
  CalendarNetworkTimer(CalendarState& state, CalendarTimerWindow window);
  CalendarNetworkTimer(const CalendarNetworkTimer&) = delete;
  CalendarNetworkTimer& operator=(const CalendarNetworkTimer&) = delete;

  // Every tick of Timer1.
  void Timer1_Timer() { m_timer.Timer1_Timer(); }
  bool Published() const { return m_timer.Published(); }

 private:
  uint32_t TickCount() override;
  bool CheckForUpdate() override { return m_window.CheckForUpdate(); }
  void StartGGFetch() override;
  bool GGLoaded() override;
  std::string GGText() override;
  void DisableTimer() override { m_window.DisableTimer(); }
  void ArmTimer(uint32_t ms) override {
    if (m_window.ArmTimer) m_window.ArmTimer(ms);
  }
  void PaintCalendar() override { m_window.PaintCalendar(); }
  bool WindowLoaded() override { return m_window.WindowLoaded(); }
  void StartHolidayFetch() override;
  void TakeArrivedHolidays() override;

  CalendarState& m_state;
  CalendarTimerWindow m_window;
  HolidayFetch m_holidays;
  // Last: it holds references to the window callbacks above.
  NetworkTimer m_timer;
};

}  // namespace kelvo
