// The window hook and the calendar window's message handling, with
// messages sent for real to a loaded calendar window whose hook routes them
// through WindowProc. Clicks on the tray icon, its menu and the exit run end
// to end as well (tray_end_to_end).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>

#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

constexpr UINT kTrayNotify = 1801, kWakeUp = 1912;
using Call = std::tuple<UINT, WPARAM, LPARAM>;

// Stands in for the window's previous procedure in the hook record while
// it lives, noting what reaches it.
struct PreviousProcedureSpy {
  explicit PreviousProcedureSpy(const SubclassData& hook)
      : record(const_cast<SubclassData&>(hook)), original(hook.lpPrevWndProc) {
    active = this;
    record.lpPrevWndProc = Spy;
  }
  ~PreviousProcedureSpy() { record.lpPrevWndProc = original; }
  static LRESULT CALLBACK Spy(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    active->calls.insert({uMsg, wParam, lParam});
    return CallWindowProcA(active->original, hWnd, uMsg, wParam, lParam);
  }
  static inline PreviousProcedureSpy* active = nullptr;
  SubclassData& record;
  WNDPROC original;
  std::set<Call> calls;
};

class WindowProcedure : public LoadedWindow {
 protected:
  void ExpectShown(bool shown) {
    EXPECT_EQ(IsWindowVisible(Handle()) != FALSE, shown);
    EXPECT_EQ(ShowHideText(*window), shown ? "隐藏日历" : "显示日历");
  }
  PreviousProcedureSpy Spy() { return PreviousProcedureSpy(window->Hook()); }
};

// The trampoline (execute-only memory) stands in front of the class
// procedure; sent or posted, a message reaches WindowProc, then the class
// procedure with the same arguments, and the class's answer comes back.
// Commands other than 100 to 103, or with a high word, are only passed on;
// time changes and the mouse leaving after the calendar saw them.
TEST_F(WindowProcedure, TheHookRoutesMessagesThroughWindowProcToTheClassProcedure) {
  const SubclassData& hook = window->Hook();
  EXPECT_EQ(GetWindowLongPtrA(Handle(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(hook.lpThunk));
  MEMORY_BASIC_INFORMATION memory{};
  ASSERT_NE(VirtualQuery(hook.lpThunk, &memory, sizeof memory), 0u);
  EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
  const Date today = window->Today();
  window->Calendar().NextYear();
  window->Calendar().NextMonth();
  window->State().SelectedDay = 3;
  window->State().HoverCell = 9;
  const LONG style = GetWindowLongA(Handle(), GWL_EXSTYLE);
  PreviousProcedureSpy spy = Spy();
  EXPECT_EQ(SendMessageW(Handle(), WM_ERASEBKGND, 0, 0), 1);  // the class answers 1
  const Call calls[] = {{WM_APP, 0x123456789ABCDEF0ull, 0x0FEDCBA987654321ll},
                        {WM_COMMAND, 104, 0},
                        {WM_COMMAND, 0x10064, 0},
                        {WM_COMMAND, 0x10067, 0},
                        {WM_TIMECHANGE, 0, 0},
                        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
                        {WM_SETTINGCHANGE, 0, 0},
                        {WM_MOUSELEAVE, 0, 0}};
  for (const auto& [uMsg, wParam, lParam] : calls) SendMessageW(Handle(), uMsg, wParam, lParam);
  PostMessageW(Handle(), WM_APP, 3, 4);
  PumpMessages(1);
  for (const Call& call : calls) EXPECT_EQ(spy.calls.count(call), 1u) << std::get<0>(call);
  EXPECT_EQ(spy.calls.count({WM_APP, 3, 4}) + spy.calls.count({WM_ERASEBKGND, 0, 0}), 2u);
  ExpectShown(true);
  EXPECT_EQ(GetWindowLongA(Handle(), GWL_EXSTYLE), style);
  EXPECT_EQ(window->State().ShownYear * 100 + window->State().ShownMonth,
            today.Year * 100 + today.Month);
  EXPECT_EQ(window->State().SelectedDay, 3);
  EXPECT_EQ(window->State().HoverCell, -1);
}

// The show/hide command re-enters WindowProc with a tray click; the exit
// command unhooks and destroys the window from inside WindowProc, and the
// message still goes on. Unloading again unhooks nothing twice.
TEST(WindowProcedureExit, CommandsReenterAndExitUnloadsFromInside) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  SendMessageW(hWnd, WM_COMMAND, 100, 0);
  EXPECT_FALSE(IsWindowVisible(hWnd));
  EXPECT_EQ(ShowHideText(*window), "显示日历");
  EXPECT_EQ(window->ActiveCalls(), 0);
  {
    PreviousProcedureSpy spy(window->Hook());
    SendMessageW(hWnd, WM_COMMAND, 103, 0);
    EXPECT_EQ(spy.calls.count({WM_COMMAND, 103, 0}), 1u);
  }
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(window->Hook().lpThunk, nullptr);
  EXPECT_EQ(window->ActiveCalls(), 0);
  window->Unload();
}

#if defined(__x86_64__)
LRESULT CALLBACK ThrowingHandler(SubclassTarget*, HWND, UINT, WPARAM, LPARAM) {
  throw std::runtime_error("through the trampoline");
}

// The system finds the trampoline's unwind data.
TEST(X64Trampoline, ExceptionUnwindsThroughIt) {
  SubclassData record;
  BuildThunk(record, nullptr, ThrowingHandler);
  ASSERT_NE(record.lpThunk, nullptr);
  EXPECT_THROW(reinterpret_cast<WNDPROC>(record.lpThunk)(nullptr, 0, 0, 0), std::runtime_error);
}
#endif

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
  EXPECT_EQ(ShowHideText(*window), "显示日历");  // visible: left alone
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
  CKelvoNotifyIcon& icon = window->NotifyIcon();
  ASSERT_TRUE(icon.DeleteNotifyIcon());
  EXPECT_FALSE(icon.DeleteNotifyIcon());
  ASSERT_FALSE(icon.ModifyNotifyIcon(Handle(), window->TrayIcon(), "Kelvo日历"));  // not held
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, RegisterWindowMessageA("TaskBarCreated"), 0, 0, SMTO_NORMAL,
                      5000, &result);
  PumpMessages(1);
  EXPECT_EQ(icon.Record().hIcon, window->TrayIcon());
  EXPECT_STREQ(icon.Record().szTip, "Kelvo\xC8\xD5\xC0\xFA");
  EXPECT_TRUE(icon.ModifyNotifyIcon(Handle(), window->TrayIcon(), "Kelvo日历"));
  // A long tip is cut to its field without splitting a two-byte character.
  std::string tip;
  for (int i = 0; i < 100; ++i) tip += "日";
  icon.ModifyNotifyIcon(Handle(), window->TrayIcon(), tip);
  EXPECT_EQ(std::strlen(icon.Record().szTip), 126u);
  icon.ModifyNotifyIcon(Handle(), window->TrayIcon(), std::string(300, 'a'));
  EXPECT_EQ(std::strlen(icon.Record().szTip), 127u);
  icon.ModifyNotifyIcon(Handle(), window->TrayIcon(), "Kelvo日历");
}

}  // namespace
}  // namespace kelvo::testing
