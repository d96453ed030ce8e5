// KelvoCalendar.exe: creating and loading the calendar window is the whole
// start-up; the process ends when the window is gone.
#include <windows.h>

#include <exception>

#include "desktop/win32/platform_text.h"
#include "window/win32/calendar_window.h"

namespace {

int RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// A fault nothing else handles (a missing bitmap, no GDI memory) ends the
// program with a message box.
int ReportFault(const char* what) {
  // Destroying the window posted WM_QUIT, which would close the box at once.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  const std::wstring text = kelvo::ToWide(what);
  const std::wstring caption = kelvo::ToWide(kelvo::CalendarWindow::Caption);
  MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  return 1;
}

int RunCalendar(HINSTANCE instance) {
  kelvo::CalendarWindow window;
  window.OnInitialize();
  window.Create(instance);
  window.OnLoad();
  window.Show();
  return RunMessageLoop();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  try {
    int code = 0;
    // A failed update gives the calendar back in the same process.
    do {
      code = RunCalendar(instance);
    } while (kelvo::CalendarWindow::TakeComeBackRequest());
    return code;
  } catch (const std::exception& fault) {
    return ReportFault(fault.what());
  }
}
