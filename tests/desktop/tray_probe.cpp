// Test helper for the end-to-end run in a Wine virtual desktop. It runs the
// program inside that desktop and reports what a user would see there: the
// calendar window, the taskbar, where a popup menu is open (Wine keeps the
// menu's items inside the program's process, so they are read off screen).
//   tray_probe run <status-file> <program>   start the program in this
//       desktop, note when it exits, then stay (keeping the desktop alive)
//       until <status-file>.stop appears
//   tray_probe query <desktop> [hwnd]        print the state, one key=value a
//       line; given the hex handle of the calendar window, also whether the
//       shell still holds its tray icon
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void PrintRect(const char* key, const RECT& r) {
  std::printf("%s=%ld,%ld,%ld,%ld\n", key, r.left, r.top, r.right, r.bottom);
}

// Replaces the status file's content with one line.
void WriteStatus(const std::wstring& path, const std::string& line) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

int Run(const std::wstring& status, const std::wstring& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    WriteStatus(status, "failed " + std::to_string(GetLastError()));
    return 1;
  }
  WriteStatus(status, "started");
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  WriteStatus(status, "exited " + std::to_string(code));
  const std::wstring stop = status + L".stop";
  for (int i = 0; i < 1200 && GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(100);
  }
  return 0;
}

void PrintCalendar() {
  HWND calendar = FindWindowW(L"KelvoCalendarWnd", nullptr);
  if (!calendar) {
    std::printf("calendar=absent\n");
    return;
  }
  std::printf("calendar=%s\n", IsWindowVisible(calendar) ? "visible" : "hidden");
  std::printf("calendarhwnd=%llx\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(calendar)));
  const LONG exStyle = GetWindowLongW(calendar, GWL_EXSTYLE);
  BYTE alpha = 255;
  DWORD flags = 0;
  if (exStyle & WS_EX_LAYERED) GetLayeredWindowAttributes(calendar, nullptr, &alpha, &flags);
  std::printf("layered=%d\nalpha=%d\n", (exStyle & WS_EX_LAYERED) ? 1 : 0, alpha);
}

void PrintTray(HWND iconOwner) {
  // Wine's taskbar draws the notification icons itself, from its right end.
  if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
    RECT r;
    GetWindowRect(tray, &r);
    PrintRect("trayrect", r);
  }
  if (!iconOwner) return;
  // Modifying nothing succeeds only while the shell holds the icon.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = iconOwner;
  icon.uID = 1000;
  std::printf("iconpresent=%d\n", Shell_NotifyIconW(NIM_MODIFY, &icon) ? 1 : 0);
}

void PrintMenu() {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) {
    std::printf("menu=closed\n");
    return;
  }
  std::printf("menu=open\n");
  RECT menuRect;
  GetWindowRect(menuWindow, &menuRect);
  PrintRect("menurect", menuRect);
}

int Query(const std::wstring& desktopName, HWND iconOwner) {
  HDESK desktop = OpenDesktopW(desktopName.c_str(), 0, FALSE, GENERIC_ALL);
  if (!desktop || !SetThreadDesktop(desktop)) return 1;
  PrintCalendar();
  PrintTray(iconOwner);
  PrintMenu();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"run") return Run(argv[2], argv[3]);
  if ((argc == 3 || argc == 4) && std::wstring(argv[1]) == L"query") {
    const HWND owner =
        argc == 4 ? reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(argv[3], nullptr, 16)))
                  : nullptr;
    return Query(argv[2], owner);
  }
  std::fprintf(stderr, "usage: tray_probe run <status-file> <program> | query <desktop> [hwnd]\n");
  return 2;
}
