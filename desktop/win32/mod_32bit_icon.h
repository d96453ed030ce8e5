#pragma once
#include <windows.h>

#include <cstdint>

// Mod32BitIcon: the program's icon on the window and in the tray.
namespace kelvo {

// The icon resource of the executable: 48, 32, 24 and 16 pixels, each at 8
// and 32 bits per pixel.
inline constexpr int ProgramIconId = 1;

// Systems before major version 7 show the 16-pixel icon in the tray; later
// ones scale the 32-pixel one. `version` is what GetVersion() returns.
constexpr bool TrayWantsSmallIcon(uint32_t version) {
  return (version & 0xFF) < 7;
}

// Sets the window's small (16) and large (32) icons from icon resource 1 and
// returns the one for the tray. The icons live as long as the program.
HICON SetWindowIcons(HWND hWnd);

}  // namespace kelvo
