// A stand-in for the calendar window in the end-to-end update test: a
// top-level window whose 10 ms timer runs the real CheckForUpdate, and whose
// unload destroys it, timer and all. It logs to host-log.txt next to itself
// what happened to it. Exit code: 0 when the update form ended the program,
// 3 when the check finished without an accepted update, 4 when no manifest
// could be fetched.
#include <windows.h>

#include <string>

#include "update/win32/mod_main.h"

namespace {

constexpr UINT_PTR kTimer1 = 1;
HWND g_calendar = nullptr;
bool g_inCheck = false;
int g_failedChecks = 0;
bool g_unloadedForUpdate = false;

void Log(const char* line) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\') + 1);
  path += L"host-log.txt";
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  const std::string text = std::string(line) + "\n";
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void UnloadCalendar() {
  Log("unload");
  g_unloadedForUpdate = true;
  KillTimer(g_calendar, kTimer1);
  DestroyWindow(g_calendar);
}

LRESULT CALLBACK CalendarProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_TIMER:
      if (g_unloadedForUpdate) Log("timer after unload");
      if (g_inCheck) return 0;
      g_inCheck = true;
      {
        const bool fetched = kelvo::CheckForUpdate(&UnloadCalendar);
        if (kelvo::UpdateWasAccepted()) {
          // The window is gone: nothing here may touch it.
          Log("returned after update");
          return 0;
        }
        g_inCheck = false;
        if (fetched) {
          Log("no update");
          DestroyWindow(hWnd);
        } else if (++g_failedChecks > 20) {
          Log("no manifest");
          DestroyWindow(hWnd);
        }
      }
      return 0;
    case WM_DESTROY:
      if (!g_unloadedForUpdate)
        PostQuitMessage(g_failedChecks > 20 ? 4 : 3);
      else
        PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = CalendarProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"KelvoStandInCalendar";
  RegisterClassW(&wc);
  g_calendar =
      CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Kelvo日历", WS_POPUP | WS_VISIBLE, 700,
                      0, 538, 370, nullptr, nullptr, instance, nullptr);
  SetTimer(g_calendar, kTimer1, 10, nullptr);
  Log("start");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  Log("end");
  return static_cast<int>(msg.wParam);
}
