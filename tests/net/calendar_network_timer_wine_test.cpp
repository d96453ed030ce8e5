// The Win32 network timer in a real window with a real 10 ms timer, the
// process's announcement fetch and the loopback server, under Wine. The
// server runs as the program's proxy (with_http_server --proxy), so the
// fetch asks for the program's own list address.
#include "net/win32/calendar_network_timer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "net/win32/mod_gg.h"
#include "tests/support/test_server.h"

namespace kelvo {
namespace {

namespace server = test_server;

constexpr UINT_PTR kTimer1 = 1;

struct TimerWindow {
  HWND hWnd = nullptr;
  CalendarNetworkTimer* timer = nullptr;
};

LRESULT CALLBACK TimerWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<TimerWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (uMsg == WM_TIMER && wParam == kTimer1 && window && window->timer) {
    window->timer->Timer1_Timer();
    return 0;
  }
  return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

TEST(CalendarNetworkTimer, ListDeliveredAfterTwoSecondsIsPublishedOnceWithoutAnUpdateCheck) {
  ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server --proxy";
  // "公告$http://a/1#新版本$http://a/2" in code page 936, answered two
  // seconds after it was asked for.
  server::Serve("list/GGList.txt",
                "\xb9\xab\xb8\xe6$http://a/1#\xd0\xc2\xb0\xe6\xb1\xbe$http://a/2");
  server::Serve("_routes", "/myapp/KelvoCalendar/GGList.txt /_/delay/2/list/GGList.txt\n");

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = TimerWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KelvoTimerTestWnd";
  RegisterClassW(&windowClass);
  TimerWindow window;
  window.hWnd = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window.hWnd, nullptr);
  SetWindowLongPtrW(window.hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&window));

  CalendarState state;
  int checks = 0;
  int paints = 0;
  bool timerOn = true;
  CalendarNetworkTimer timer(state, CalendarTimerWindow{
                                        [&] {
                                          ++checks;
                                          return false;
                                        },
                                        [&] {
                                          timerOn = false;
                                          KillTimer(window.hWnd, kTimer1);
                                        },
                                        [&] { ++paints; },
                                        [] { return true; },
                                        {},
                                    });
  window.timer = &timer;

  // The window's start-up: the fetch, then the first network time stamp.
  const DWORD start = GetTickCount();
  SetTimer(window.hWnd, kTimer1, 10, nullptr);
  StartGGFetch();
  state.LastNetTry = GetTickCount();

  // The message loop, for at most ten seconds.
  DWORD publishedAt = 0;
  while (GetTickCount() - start < 10000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (timer.Published() && publishedAt == 0) publishedAt = GetTickCount();
    // A little longer after the publication: no second one may follow.
    if (publishedAt && GetTickCount() - publishedAt > 500) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }

  ASSERT_TRUE(timer.Published());
  std::printf("[ figure ] list answered after 2000 ms, published %lu ms after start-up\n",
              static_cast<unsigned long>(publishedAt - start));
  EXPECT_FALSE(timerOn);
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(checks, 0);
  ASSERT_EQ(state.LinkCount, 2);
  EXPECT_EQ(state.AnnouncementLinks[0].LinkTitle, "公告");
  EXPECT_EQ(state.AnnouncementLinks[0].LinkUrl, "http://a/1");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkTitle, "新版本");
  EXPECT_EQ(state.AnnouncementLinks[1].LinkRect, (Rect{410, 245, 538, 265}));
  EXPECT_EQ(server::RequestLog(), "GET /myapp/KelvoCalendar/GGList.txt\n");
  EXPECT_TRUE(GGLoaded());
  EXPECT_EQ(GGText(), "公告$http://a/1#新版本$http://a/2");

  DestroyWindow(window.hWnd);
}

}  // namespace
}  // namespace kelvo
