#include "net/win32/calendar_network_timer.h"

#include <windows.h>

#include <utility>

#include "net/win32/mod_gg.h"

namespace kelvo {

CalendarNetworkTimer::CalendarNetworkTimer(CalendarState& state, CalendarTimerWindow window)
    : m_window(std::move(window)), m_timer(state, *this) {}

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

}  // namespace kelvo
