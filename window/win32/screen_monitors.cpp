#include "window/win32/screen_monitors.h"

#include "desktop/win32/platform_text.h"
#include "window/face_scale.h"

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

int WindowDpi(HWND hWnd) {
  // Windows 10 1607 and later; looked up, as the program also runs on 7.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (dpiForWindow && hWnd) return ClampDpi(static_cast<int>(dpiForWindow(hWnd)));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return ClampDpi(dpi);
}

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
