#pragma once
#include <windows.h>

namespace kelvo {

// The DPI a window is drawn at, 96..480: its monitor's under per-monitor
// awareness, the system's on systems before Windows 10 1607 (or for no window).
int WindowDpi(HWND hWnd);

}  // namespace kelvo
