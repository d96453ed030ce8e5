#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "window/face_placement.h"

namespace kelvo {

// Every monitor with its work area, the primary one marked.
std::vector<MonitorArea> ListMonitors();
// Where the window is now: its rectangle, the monitor nearest to it and
// the DPI it is drawn at.
RememberedPlace PlaceOf(HWND hWnd, int dpi);

}  // namespace kelvo
