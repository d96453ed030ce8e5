#include "net/win32/calendar_network_timer.h"

#include <windows.h>

#include <utility>

#include "net/win32/mod_gg.h"

namespace kelvo {

CalendarNetworkTimer::CalendarNetworkTimer(CalendarState& state, CalendarTimerWindow window)
    : m_state(state), m_window(std::move(window)), m_timer(state, *this) {}

uint32_t CalendarNetworkTimer::TickCount() {
  return GetTickCount();
}

void CalendarNetworkTimer::StartGGFetch() {
  kelvo::StartGGFetch();
}

bool CalendarNetworkTimer::GGLoaded() {
  return kelvo::GGLoaded();
}

std::string CalendarNetworkTimer::GGText() {
  return kelvo::GGText();
}

void CalendarNetworkTimer::StartHolidayFetch() {
  const HWND window = m_window.Handle ? m_window.Handle() : nullptr;
  m_holidays.Start(m_state.Holidays.Serial(), window, WM_TIMER, m_window.TimerId);
}

void CalendarNetworkTimer::TakeArrivedHolidays() {
  const std::optional<SignedHolidayFile> arrived = m_holidays.TakeArrived();
  if (!arrived) return;
  // Judged again here: a file the program took meanwhile may be newer.
  std::optional<HolidayFile> file = AcceptHolidayFile(arrived->Bytes, m_state.Holidays.Serial());
  if (!file) return;
  // The file acts in this run either way; only a stored one acts again at
  // the next start.
  if (!StoreHolidays(*arrived)) {
    OutputDebugStringW(L"Kelvo日历: the holiday file could not be stored in %LOCALAPPDATA%\n");
  }
  if (m_window.SetHolidays) m_window.SetHolidays(HolidaySchedule(std::move(*file)));
}

}  // namespace kelvo
