#include "window/win32/screen_monitors.h"

#include "desktop/win32/platform_text.h"

namespace kelvo {
namespace {

Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<MonitorArea>*>(list)->push_back(
        {FromWide(info.szDevice), ToRect(info.rcMonitor), ToRect(info.rcWork),
         (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  }
  return TRUE;
}

}  // namespace

std::vector<MonitorArea> ListMonitors() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

RememberedPlace PlaceOf(HWND hWnd, int dpi) {
  RECT frame{};
  GetWindowRect(hWnd, &frame);
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info)) {
    info.szDevice[0] = L'\0';
  }
  return {ToRect(frame), FromWide(info.szDevice), dpi};
}

}  // namespace kelvo
