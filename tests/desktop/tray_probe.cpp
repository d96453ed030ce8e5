// Helper of tray_end_to_end, inside the Wine virtual desktop.
//   tray_probe run <status-file> <program>: runs the program in this desktop,
//     writes "exited <code>" to the file when it ends, then keeps the desktop
//     alive until <status-file>.stop appears.
//   tray_probe <desktop> [hwnd]: prints what a user would see and the
//     start-up entry, a key=value a line; given the calendar's old handle,
//     whether the shell still holds its tray icon.
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <process.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc == 4) {
    const std::wstring quoted = L"\"" + std::wstring(argv[3]) + L"\"";
    const intptr_t code = _wspawnl(_P_WAIT, argv[3], quoted.c_str(), nullptr);
    if (FILE* status = _wfopen(argv[2], L"wb")) {
      std::fprintf(status, "exited %d\n", static_cast<int>(code));
      std::fclose(status);
    }
    const std::wstring stop = std::wstring(argv[2]) + L".stop";
    for (int i = 0; i < 1200 && GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
      Sleep(100);
    return 0;
  }
  HDESK desktop = argc > 1 ? OpenDesktopW(argv[1], 0, FALSE, GENERIC_ALL) : nullptr;
  if (!desktop || !SetThreadDesktop(desktop)) return 1;
  RECT r{};
  if (HWND calendar = FindWindowW(L"KelvoCalendarWnd", nullptr)) {
    BYTE alpha = 255;
    const bool layered = GetWindowLongW(calendar, GWL_EXSTYLE) & WS_EX_LAYERED;
    if (layered) GetLayeredWindowAttributes(calendar, nullptr, &alpha, nullptr);
    std::printf("calendar=%s\nhwnd=%p\nlayered=%d\nalpha=%d\n",
                IsWindowVisible(calendar) ? "visible" : "hidden", calendar, layered, alpha);
  } else {
    std::printf("calendar=absent\n");
  }
  // Wine's taskbar draws the notification icons itself, from its right end.
  if (GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &r))
    std::printf("tray=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right, r.bottom);
  char entry[MAX_PATH] = "";
  DWORD size = sizeof entry;
  RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
               "KelvoCalendar", RRF_RT_REG_SZ, nullptr, entry, &size);
  std::printf("autorun=%s\n", entry);
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (menu && IsWindowVisible(menu) && GetWindowRect(menu, &r))
    std::printf("menu=open\nmenurect=%ld,%ld,%ld,%ld\n", r.left, r.top, r.right, r.bottom);
  else
    std::printf("menu=closed\n");
  if (argc > 2) {  // modifying nothing succeeds only while the shell holds the icon
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = reinterpret_cast<HWND>(wcstoull(argv[2], nullptr, 16));
    icon.uID = 1000;
    std::printf("iconpresent=%d\n", Shell_NotifyIconW(NIM_MODIFY, &icon) ? 1 : 0);
  }
  return 0;
}
