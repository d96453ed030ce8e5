#include "tests/window/win32/window_fixture.h"

#include "desktop/win32/platform_text.h"

namespace kelvo::testing {

void PumpMessages(int rounds) {
  for (int round = 0; round < rounds; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
}

std::unique_ptr<CalendarWindow> StartCalendarWindow() {
  SetCursorPos(20, 780);  // away from the window
  auto window = std::make_unique<CalendarWindow>();
  window->OnInitialize();
  window->Create(GetModuleHandleW(nullptr));
  window->OnLoad();
  window->Show();
  PumpMessages();
  return window;
}

void LoadedWindow::SetUp() {
  window = s_window.get();
  ASSERT_TRUE(window && window->Handle());
  SetCursorPos(20, 780);
  PumpMessages(1);
  window->State().HoverCell = -1;
  window->Calendar().BackToToday();
  window->SetMenuItemText(IDM_SHOWHIDE, "隐藏日历");
  ShowWindow(window->Handle(), SW_SHOW);
  PumpMessages(1);
}

void LoadedWindow::ShowMonth(int16_t year, int16_t month) {
  window->State().ShownYear = year;
  window->State().ShownMonth = month;
  window->Calendar().BuildMonth(year, month);
}

std::string MenuItemText(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 127;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  return FromWide(text);
}

}  // namespace kelvo::testing
