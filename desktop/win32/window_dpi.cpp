#include "desktop/win32/window_dpi.h"

#include "window/face_scale.h"

namespace kelvo {

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

}  // namespace kelvo
