#include "desktop/win32/mod_32bit_icon.h"

namespace kelvo {
namespace {

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ProgramIconId),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

HICON SetWindowIcons(HWND hWnd) {
  // The sizes of the system's DPI (16 and 32 at 96): the icon carries each.
  HICON smallIcon = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
  SendMessageA(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  HICON bigIcon = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
  SendMessageA(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  return TrayWantsSmallIcon(GetVersion()) ? smallIcon : bigIcon;
}

}  // namespace kelvo
