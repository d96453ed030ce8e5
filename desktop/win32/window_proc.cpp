// The calendar window's own message handler. The hook (public_data.h) sends
// every message of the window here first; whatever is not answered here goes
// on to the window's previous procedure.
#include <windows.h>

#include <string>

#include "desktop/win32/public_data.h"
#include "desktop/win32/settings.h"
#include "desktop/window_messages.h"
#include "window/face_scale.h"
#include "window/win32/calendar_window.h"

namespace kelvo {
namespace {

// Shows or hides the calendar the way a left click on the tray icon does,
// keeping the show/hide item's text in step.
void ToggleCalendar(HWND hWnd, CKelvoMenu& menu) {
  if (IsWindowVisible(hWnd)) {
    ShowWindow(hWnd, SW_HIDE);
    menu.ModifyItem(IDM_SHOWHIDE, MIIM_STRING, std::string(ShowHideText(false)));
  } else {
    ShowWindow(hWnd, SW_SHOW);
    SetForegroundWindow(hWnd);
    menu.ModifyItem(IDM_SHOWHIDE, MIIM_STRING, std::string(ShowHideText(true)));
  }
}

}  // namespace

LRESULT CalendarWindow::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (ClassifyWindowMessage(uMsg, m_taskbarCreatedMsg)) {
    case WindowMessage::TimeChanged:
      FollowLocalDate(true);
      break;

    case WindowMessage::SetCursor: {
      POINT point{};
      GetCursorPos(&point);
      ScreenToClient(hWnd, &point);
      if (m_calendar.ShowsHandCursor(FaceUnitAt(point.x, m_dpi), FaceUnitAt(point.y, m_dpi))) {
        SetCursor(m_handCursor);
        return 0;  // answered: the class cursor must not replace it
      }
      break;
    }

    case WindowMessage::TrayNotify:
      if (!IsWindowEnabled(hWnd)) break;
      switch (ClassifyTrayClick(static_cast<uint64_t>(lParam))) {
        case TrayClick::LeftUp:
          ToggleCalendar(hWnd, TrayMenu());
          break;
        case TrayClick::RightUp: {
          POINT point{};
          GetCursorPos(&point);
          // Foreground first, or the menu would not close on a click elsewhere.
          SetForegroundWindow(hWnd);
          TrayMenu().PopupMenu(hWnd, point.x, point.y);
          break;
        }
        case TrayClick::BalloonClick:
          OnBalloonClick();
          break;
        case TrayClick::Other:
          break;
      }
      break;

    case WindowMessage::WakeUp:
      if (!IsWindowEnabled(hWnd)) break;
      SetForegroundWindow(hWnd);
      if (!IsWindowVisible(hWnd)) {
        ShowWindow(hWnd, SW_SHOW);
        TrayMenu().ModifyItem(IDM_SHOWHIDE, MIIM_STRING, std::string(ShowHideText(true)));
      }
      break;

    case WindowMessage::MouseLeft:
      m_calendar.OnMouseLeave();
      break;

    case WindowMessage::Command:
      switch (ClassifyMenuCommand(static_cast<uint64_t>(wParam))) {
        case MenuCommand::ShowHide:
          // Runs the tray case above synchronously: exactly a left click.
          SendMessageA(hWnd, WM_TRAYNOTIFY, 0, kLeftButtonUpMessage);
          break;
        case MenuCommand::Transparent:
          ShowSettingNotice(hWnd, ToggleTransparent(hWnd, TrayMenu()));
          break;
        case MenuCommand::AutoRun:
          ShowSettingNotice(hWnd, ToggleAutoRun(TrayMenu()));
          break;
        case MenuCommand::Home:
          GoHome();
          break;
        case MenuCommand::Exit:
          // Unhooks and destroys the window; the previous procedure kept in
          // the hook record still takes the message below.
          Unload();
          break;
        case MenuCommand::OwnDays:
          ShowOwnDaysList();
          break;
        case MenuCommand::None:
          break;
      }
      break;

    case WindowMessage::TaskbarCreated:
      NotifyIcon().AddNotifyIcon(hWnd, m_trayIcon, Caption);
      break;

    case WindowMessage::Other: {
      // Through this ANSI hook a setting change names its area in ANSI.
      const char* area = uMsg == WM_SETTINGCHANGE ? reinterpret_cast<const char*>(lParam) : nullptr;
      if (MovesLocalDate(uMsg, static_cast<uint64_t>(wParam), area ? area : "")) {
        FollowLocalDate(false);
      }
      break;
    }
  }
  return CallWindowProcA(m_subclassData.lpPrevWndProc, hWnd, uMsg, wParam, lParam);
}

}  // namespace kelvo
