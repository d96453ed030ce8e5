// The calendar window's message handling, with messages sent for real to a
// loaded calendar window whose hook routes them through WindowProc. Clicks
// on the tray icon, its menu and the exit run end to end (tray_end_to_end).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>

#include "desktop/win32/platform_text.h"
#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

constexpr UINT kTrayNotify = 1801, kWakeUp = 1912;
using Call = std::tuple<UINT, WPARAM, LPARAM>;

// Notes what reaches the window's previous procedure by standing in for it
// in the hook record for the life of the object.
class PreviousProcedureSpy {
 public:
  explicit PreviousProcedureSpy(const SubclassData& hook)
      : m_record(const_cast<SubclassData&>(hook)), m_original(hook.lpPrevWndProc) {
    s_active = this;
    m_record.lpPrevWndProc = Spy;
  }
  ~PreviousProcedureSpy() { m_record.lpPrevWndProc = m_original; }
  std::set<Call> calls;

 private:
  static LRESULT CALLBACK Spy(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    s_active->calls.insert({uMsg, wParam, lParam});
    return CallWindowProcA(s_active->m_original, hWnd, uMsg, wParam, lParam);
  }
  static inline PreviousProcedureSpy* s_active = nullptr;
  SubclassData& m_record;
  WNDPROC m_original;
};

bool TrayIconPresent(HWND hWnd) {
  NOTIFYICONDATAA record{};
  record.cbSize = CKelvoNotifyIcon::RecordSize;
  record.hWnd = hWnd;
  record.uID = CKelvoNotifyIcon::IconId;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

class WindowProcedure : public LoadedWindow {
 protected:
  void TearDown() override { EnableWindow(Handle(), TRUE); }
  void ExpectShown(bool shown) {
    EXPECT_EQ(IsWindowVisible(Handle()) != FALSE, shown);
    EXPECT_EQ(MenuItemText(window->TrayMenu().Handle(), 0), shown ? "隐藏日历" : "显示日历");
  }
  PreviousProcedureSpy Spy() { return PreviousProcedureSpy(window->Hook()); }
};

// Passed on with the class's answer: unhandled messages, commands other
// than 100 to 103 or with a high word; time changes and the mouse leaving
// after the calendar saw them.
TEST_F(WindowProcedure, MessagesGoOnToTheClassProcedure) {
  const Date today = window->Today();
  ShowMonth(2031, today.Month == 7 ? 8 : 7);
  window->State().SelectedDay = 3;
  window->State().HoverCell = 9;
  const LONG style = GetWindowLongA(Handle(), GWL_EXSTYLE);
  PreviousProcedureSpy spy = Spy();
  EXPECT_EQ(SendMessageW(Handle(), WM_ERASEBKGND, 0, 0), 1);  // the class answers 1
  for (WPARAM command : {104, 0x10064, 0x10067}) SendMessageW(Handle(), WM_COMMAND, command, 0);
  SendMessageW(Handle(), WM_TIMECHANGE, 0, 0);
  SendMessageW(Handle(), WM_MOUSELEAVE, 0, 0);
  for (const Call& call :
       {Call{WM_ERASEBKGND, 0, 0}, Call{WM_COMMAND, 104, 0}, Call{WM_COMMAND, 0x10064, 0},
        Call{WM_COMMAND, 0x10067, 0}, Call{WM_TIMECHANGE, 0, 0}, Call{WM_MOUSELEAVE, 0, 0}}) {
    EXPECT_EQ(spy.calls.count(call), 1u) << std::get<0>(call) << " " << std::get<1>(call);
  }
  ExpectShown(true);
  EXPECT_EQ(GetWindowLongA(Handle(), GWL_EXSTYLE), style);
  EXPECT_EQ(window->State().ShownMonth, today.Month);
  EXPECT_EQ(window->State().SelectedDay, 3);
  EXPECT_EQ(window->State().HoverCell, -1);
  wchar_t caption[32] = {};
  GetWindowTextW(Handle(), caption, 32);
  EXPECT_EQ(FromWide(caption), "Kelvo日历");
}

// WindowProc answers WM_SETCURSOR itself with the hand over a button, and
// leaves the arrow elsewhere to the class procedure.
TEST_F(WindowProcedure, HandCursorOverAButtonOnly) {
  for (const auto& [x, hand] : {std::pair{124, true}, std::pair{36, false}}) {
    POINT point{x, 20};
    ClientToScreen(Handle(), &point);
    SetCursorPos(point.x, point.y);
    SetCursor(nullptr);
    PreviousProcedureSpy spy = Spy();
    SendMessageW(Handle(), WM_SETCURSOR, WPARAM(Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), hand ? window->HandCursor() : LoadCursorW(nullptr, IDC_ARROW)) << x;
    EXPECT_EQ(spy.calls.size(), hand ? 0u : 1u) << x;
  }
}

// Only a left-button release on the tray icon counts, and only while the
// window is enabled (not while a dialog of its own is open); so for the
// wake-up from a second start, which shows a hidden calendar.
TEST_F(WindowProcedure, TrayClickAndWakeUpOnlyWhenEnabled) {
  for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_RBUTTONDOWN})
    SendMessageW(Handle(), kTrayNotify, 0, mouse);
  EnableWindow(Handle(), FALSE);
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  ExpectShown(true);
  window->TrayMenu().ModifyItem(100, MIIM_STRING, "显示日历");
  EnableWindow(Handle(), TRUE);
  SendMessageW(Handle(), kWakeUp, 0, 0);
  EXPECT_EQ(MenuItemText(window->TrayMenu().Handle(), 0), "显示日历");  // visible: left alone
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  ExpectShown(false);
  EnableWindow(Handle(), FALSE);
  SendMessageW(Handle(), kWakeUp, 0, 0);
  ExpectShown(false);
  EnableWindow(Handle(), TRUE);
  PostMessageW(Handle(), kWakeUp, 0, 0);
  PumpMessages(1);
  ExpectShown(true);
}

// After a shell restart: the icon comes back with its tip in code page 936.
TEST_F(WindowProcedure, BroadcastTaskbarCreatedPutsTheIconBack) {
  ASSERT_TRUE(window->NotifyIcon().DeleteNotifyIcon());
  EXPECT_FALSE(window->NotifyIcon().DeleteNotifyIcon());
  ASSERT_FALSE(TrayIconPresent(Handle()));
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageA("TaskBarCreated"), 0, 0, SMTO_NORMAL,
                      5000, &result);
  PumpMessages(1);
  EXPECT_TRUE(TrayIconPresent(Handle()));
  EXPECT_EQ(window->NotifyIcon().Record().hIcon, window->TrayIcon());
  EXPECT_STREQ(window->NotifyIcon().Record().szTip, "Kelvo\xC8\xD5\xC0\xFA");
  // A long tip is cut to its field without splitting a two-byte character.
  std::string tip;
  for (int i = 0; i < 100; ++i) tip += "日";
  window->NotifyIcon().ModifyNotifyIcon(Handle(), window->TrayIcon(), tip);
  EXPECT_EQ(std::strlen(window->NotifyIcon().Record().szTip), 126u);
  window->NotifyIcon().ModifyNotifyIcon(Handle(), window->TrayIcon(), std::string(300, 'a'));
  EXPECT_EQ(std::strlen(window->NotifyIcon().Record().szTip), 127u);
  window->NotifyIcon().ModifyNotifyIcon(Handle(), window->TrayIcon(), "Kelvo日历");
}

}  // namespace
}  // namespace kelvo::testing
