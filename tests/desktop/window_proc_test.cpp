// The calendar window's message handling, with messages sent for real to a
// loaded calendar window whose hook routes them through WindowProc.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "desktop/win32/platform_text.h"
#include "tests/support/registry_snapshot.h"
#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

constexpr UINT kTrayNotify = 1801;
constexpr UINT kWakeUp = 1912;

// Records what reaches the window's previous procedure by standing in for
// it inside the hook record for the life of the object.
class PreviousProcedureSpy {
 public:
  explicit PreviousProcedureSpy(CalendarWindow& window)
      : m_record(const_cast<SubclassData&>(window.Hook())), m_original(m_record.lpPrevWndProc) {
    s_active = this;
    m_record.lpPrevWndProc = Spy;
  }
  ~PreviousProcedureSpy() {
    m_record.lpPrevWndProc = m_original;
    s_active = nullptr;
  }
  struct Call {
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
  };
  bool Saw(UINT uMsg, WPARAM wParam, LPARAM lParam) const {
    for (const Call& call : m_calls) {
      if (call.uMsg == uMsg && call.wParam == wParam && call.lParam == lParam) return true;
    }
    return false;
  }

 private:
  static LRESULT CALLBACK Spy(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    PreviousProcedureSpy* self = s_active;
    self->m_calls.push_back({uMsg, wParam, lParam});
    return CallWindowProcA(self->m_original, hWnd, uMsg, wParam, lParam);
  }
  static inline PreviousProcedureSpy* s_active = nullptr;
  SubclassData& m_record;
  WNDPROC m_original;
  std::vector<Call> m_calls;
};

std::string ShowHideText(CalendarWindow& window) {
  return MenuItemText(window.TrayMenu().Handle(), 0);
}

bool TrayIconPresent(HWND hWnd) {
  NOTIFYICONDATAA record{};
  record.cbSize = CKelvoNotifyIcon::RecordSize;
  record.hWnd = hWnd;
  record.uID = CKelvoNotifyIcon::IconId;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// Puts the mouse on a client point of the window.
void PointAt(HWND hWnd, int x, int y) {
  POINT point{x, y};
  ClientToScreen(hWnd, &point);
  SetCursorPos(point.x, point.y);
}

// Where a WM_SETCURSOR at the client point leaves the cursor, and whether
// WindowProc answered it itself.
struct CursorAnswer {
  HCURSOR cursor;
  bool passedOn;
};

class WindowProcedure : public LoadedWindow {
 protected:
  CursorAnswer CursorAt(int x, int y) {
    PointAt(Handle(), x, y);
    SetCursor(nullptr);
    PreviousProcedureSpy spy(*window);
    const LPARAM where = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    SendMessageW(Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle()), where);
    return {GetCursor(), spy.Saw(WM_SETCURSOR, reinterpret_cast<WPARAM>(Handle()), where)};
  }
  void TearDown() override {
    EnableWindow(Handle(), TRUE);
    window->State().AnnouncementLinks.clear();
    window->State().LinkCount = 0;
  }
};

TEST_F(WindowProcedure, TheLoadedWindowIsHookedInFrontOfItsClassProcedure) {
  ASSERT_NE(window->Hook().lpThunk, nullptr);
  EXPECT_EQ(GetWindowLongPtrA(Handle(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(window->Hook().lpThunk));
  EXPECT_NE(window->Hook().lpPrevWndProc, nullptr);
}

TEST_F(WindowProcedure, UnhandledMessageReachesTheClassProcedureAndItsAnswerComesBack) {
  PreviousProcedureSpy spy(*window);
  wchar_t caption[32] = {};
  GetWindowTextW(Handle(), caption, 32);
  EXPECT_EQ(FromWide(caption), "Kelvo日历");
  EXPECT_EQ(SendMessageW(Handle(), WM_ERASEBKGND, 0, 0), 1);  // the class answers 1
  EXPECT_TRUE(spy.Saw(WM_ERASEBKGND, 0, 0));
}

TEST_F(WindowProcedure, TimeChangeBringsBackTodaysMonthAndKeepsTheSelectedDay) {
  const Date today = window->Today();
  ShowMonth(2031, today.Month == 7 ? 8 : 7);
  window->State().SelectedDay = 3;
  PreviousProcedureSpy spy(*window);
  SendMessageW(Handle(), WM_TIMECHANGE, 0, 0);
  EXPECT_EQ(window->State().ShownYear, today.Year);
  EXPECT_EQ(window->State().ShownMonth, today.Month);
  EXPECT_EQ(window->State().SelectedDay, 3);
  EXPECT_TRUE(spy.Saw(WM_TIMECHANGE, 0, 0));
}

// WindowProc answers WM_SETCURSOR itself with the hand over the six buttons
// (down to the corner of the previous-year button) and leaves the arrow
// just outside them to the class procedure.
TEST_F(WindowProcedure, HandCursorOverTheSixButtonsOnly) {
  const POINT inside[] = {{35, 38},  {12, 12},  {117, 38}, {124, 20},
                          {229, 12}, {318, 38}, {400, 35}};
  for (const POINT& p : inside) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    const CursorAnswer answer = CursorAt(p.x, p.y);
    EXPECT_EQ(answer.cursor, window->HandCursor());
    EXPECT_FALSE(answer.passedOn);
  }
  const CursorAnswer outside = CursorAt(36, 20);
  EXPECT_EQ(outside.cursor, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_TRUE(outside.passedOn);
}

// Over a counted link, but not on its right or bottom edge; uncounted links
// show no hand.
TEST_F(WindowProcedure, HandCursorOverACountedAnnouncementLink) {
  window->State().AnnouncementLinks = {{{420, 300, 500, 316}, "通知", "http://127.0.0.1/"}};
  window->State().LinkCount = 1;
  EXPECT_EQ(CursorAt(420, 300).cursor, window->HandCursor());
  EXPECT_EQ(CursorAt(499, 315).cursor, window->HandCursor());
  EXPECT_NE(CursorAt(500, 310).cursor, window->HandCursor());
  EXPECT_NE(CursorAt(450, 316).cursor, window->HandCursor());
  window->State().LinkCount = 0;
  EXPECT_NE(CursorAt(450, 308).cursor, window->HandCursor());
}

// Sent or posted, a left click on the tray icon and command 100 each hide
// and show the calendar and rename the item.
TEST_F(WindowProcedure, TrayLeftClickAndShowHideCommandToggleTheCalendar) {
  const auto expectShown = [this](bool shown) {
    EXPECT_EQ(IsWindowVisible(Handle()) != FALSE, shown);
    EXPECT_EQ(ShowHideText(*window), shown ? "隐藏日历" : "显示日历");
  };
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  expectShown(false);
  PostMessageW(Handle(), WM_COMMAND, 100, 0);
  PumpMessages(1);
  expectShown(true);
  PostMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  PumpMessages(1);
  expectShown(false);
  SendMessageW(Handle(), WM_COMMAND, 100, 0);
  expectShown(true);
}

TEST_F(WindowProcedure, TrayLeftClickWhileDisabledChangesNothingButIsPassedOn) {
  EnableWindow(Handle(), FALSE);
  PreviousProcedureSpy spy(*window);
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(Handle()));
  EXPECT_EQ(ShowHideText(*window), "隐藏日历");
  EXPECT_TRUE(spy.Saw(kTrayNotify, 0, WM_LBUTTONUP));
}

TEST_F(WindowProcedure, OtherTrayMouseMessagesDoNothing) {
  for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_RBUTTONDOWN}) {
    SendMessageW(Handle(), kTrayNotify, 0, mouse);
  }
  EXPECT_TRUE(IsWindowVisible(Handle()));
  EXPECT_EQ(ShowHideText(*window), "隐藏日历");
}

// Waits on another thread for the popup menu, notes where it opened, and
// closes it through its owner.
struct MenuWatcher {
  std::atomic<bool> seen{false};
  RECT rect{};
  std::thread thread;
  explicit MenuWatcher(HWND owner) {
    thread = std::thread([this, owner] {
      for (int i = 0; i < 200 && !seen; ++i) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
          GetWindowRect(menu, &rect);
          seen = true;
        } else {
          Sleep(20);
        }
      }
      PostMessageW(owner, WM_CANCELMODE, 0, 0);
      PostMessageW(owner, WM_KEYDOWN, VK_ESCAPE, 0);
    });
  }
  ~MenuWatcher() { thread.join(); }
};

TEST_F(WindowProcedure, TrayRightClickOpensTheMenuAtTheCursorAndKeepsVisibility) {
  SetCursorPos(300, 400);
  for (bool visible : {true, false}) {
    ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
    PumpMessages(1);
    RECT rect{};
    bool seen = false;
    {
      MenuWatcher watcher(Handle());
      SendMessageW(Handle(), kTrayNotify, 0, WM_RBUTTONUP);  // returns when the menu closes
      watcher.thread.join();
      watcher.thread = std::thread([] {});
      seen = watcher.seen;
      rect = watcher.rect;
    }
    EXPECT_TRUE(seen) << visible;
    EXPECT_EQ(rect.left, 300) << visible;
    EXPECT_EQ(rect.top, 400) << visible;
    EXPECT_EQ(IsWindowVisible(Handle()) != FALSE, visible);
  }
}

TEST_F(WindowProcedure, WakeUpShowsAHiddenCalendarAndRenamesTheItem) {
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  ASSERT_FALSE(IsWindowVisible(Handle()));
  PostMessageW(Handle(), kWakeUp, 0, 0);
  PumpMessages(1);
  EXPECT_TRUE(IsWindowVisible(Handle()));
  EXPECT_EQ(ShowHideText(*window), "隐藏日历");
}

TEST_F(WindowProcedure, WakeUpOfAVisibleCalendarLeavesTheItemAlone) {
  window->TrayMenu().ModifyItem(100, MIIM_STRING, "显示日历");
  SendMessageW(Handle(), kWakeUp, 0, 0);
  EXPECT_TRUE(IsWindowVisible(Handle()));
  EXPECT_EQ(ShowHideText(*window), "显示日历");
}

TEST_F(WindowProcedure, WakeUpWhileDisabledIsIgnored) {
  ShowWindow(Handle(), SW_HIDE);
  EnableWindow(Handle(), FALSE);
  SendMessageW(Handle(), kWakeUp, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Handle()));
}

TEST_F(WindowProcedure, MouseLeaveClearsTheHoveredCell) {
  window->State().HoverCell = 9;
  PreviousProcedureSpy spy(*window);
  SendMessageW(Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(window->State().HoverCell, -1);
  EXPECT_TRUE(spy.Saw(WM_MOUSELEAVE, 0, 0));
}

TEST_F(WindowProcedure, TransparentCommandTogglesTheLookAndItsCheckMark) {
  ValueSnapshot stored("SOFTWARE\\KelvoCalendar", "Transparent");
  // The window starts as the prefix's stored setting says.
  const bool wasLayered = (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  for (bool layered : {!wasLayered, wasLayered}) {
    SendMessageW(Handle(), WM_COMMAND, 101, 0);
    EXPECT_EQ((GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, layered);
    EXPECT_EQ(window->TrayMenu().GetItemState(101) & MF_CHECKED, layered ? MF_CHECKED : 0u);
  }
}

TEST_F(WindowProcedure, AutoRunCommandTogglesTheStartUpEntry) {
  ValueSnapshot stored("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "KelvoCalendar");
  const bool wasChecked = (window->TrayMenu().GetItemState(102) & MF_CHECKED) != 0;
  SendMessageW(Handle(), WM_COMMAND, 102, 0);
  EXPECT_NE((window->TrayMenu().GetItemState(102) & MF_CHECKED) != 0, wasChecked);
  SendMessageW(Handle(), WM_COMMAND, 102, 0);
  EXPECT_EQ((window->TrayMenu().GetItemState(102) & MF_CHECKED) != 0, wasChecked);
}

TEST_F(WindowProcedure, UnknownCommandAndCommandWithHighWordOnlyReachThePreviousProcedure) {
  PreviousProcedureSpy spy(*window);
  const UINT checksBefore =
      window->TrayMenu().GetItemState(101) | window->TrayMenu().GetItemState(102);
  const LONG styleBefore = GetWindowLongA(Handle(), GWL_EXSTYLE);
  SendMessageW(Handle(), WM_COMMAND, 104, 0);
  SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(100, 1), 0);
  SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(103, 1), 0);
  EXPECT_TRUE(spy.Saw(WM_COMMAND, 104, 0));
  EXPECT_TRUE(spy.Saw(WM_COMMAND, 0x10064, 0));
  EXPECT_TRUE(spy.Saw(WM_COMMAND, 0x10067, 0));
  EXPECT_TRUE(IsWindow(Handle()));
  EXPECT_TRUE(IsWindowVisible(Handle()));
  EXPECT_EQ(ShowHideText(*window), "隐藏日历");
  EXPECT_EQ(GetWindowLongA(Handle(), GWL_EXSTYLE), styleBefore);
  EXPECT_EQ(window->TrayMenu().GetItemState(101) | window->TrayMenu().GetItemState(102),
            checksBefore);
}

TEST_F(WindowProcedure, BroadcastTaskbarCreatedPutsTheIconBack) {
  ASSERT_TRUE(TrayIconPresent(Handle()));
  ASSERT_TRUE(window->NotifyIcon().DeleteNotifyIcon());  // as a shell restart loses it
  ASSERT_FALSE(TrayIconPresent(Handle()));
  ASSERT_NE(window->TaskbarCreatedMsg(), 0u);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(HWND_BROADCAST, window->TaskbarCreatedMsg(), 0, 0, SMTO_NORMAL, 5000,
                      &result);
  PumpMessages(1);
  EXPECT_TRUE(TrayIconPresent(Handle()));
  EXPECT_EQ(window->NotifyIcon().Record().hIcon, window->TrayIcon());
  EXPECT_STREQ(window->NotifyIcon().Record().szTip, "Kelvo\xC8\xD5\xC0\xFA");  // in code page 936
  // Its clicks still arrive and work.
  SendMessageW(Handle(), kTrayNotify, 0, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(Handle()));
}

// The exit command, on a window of its own: it unloads the window from
// inside WindowProc, and the message still goes on to the class procedure.
TEST(WindowProcedureExit, ExitCommandUnloadsTheWindowAndStillPassesTheMessageOn) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  ASSERT_TRUE(TrayIconPresent(hWnd));
  {
    PreviousProcedureSpy spy(*window);
    SendMessageW(hWnd, WM_COMMAND, 103, 0);
    EXPECT_TRUE(spy.Saw(WM_COMMAND, 103, 0));
  }
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(window->Hook().lpThunk, nullptr);
  EXPECT_EQ(window->ActiveCalls(), 0);
  // The icon goes with the window object, when the program releases it.
  window.reset();
  EXPECT_FALSE(TrayIconPresent(hWnd));
  PumpMessages(1);
}

}  // namespace
}  // namespace kelvo::testing
