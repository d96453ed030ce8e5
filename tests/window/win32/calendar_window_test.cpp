// The calendar window as the program creates it: attributes, real GDI
// pixels of one face, real mouse input (SendInput) reaching its handlers,
// and the shutdown. What each gesture decides is pinned natively.
#include <oleacc.h>
#include <windows.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "tests/support/wine_testing.h"
#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

using CalendarWindowTest = LoadedWindow;

// February 2021: Monday 1st, 28 days, the 16th at cell 15.
void ShowFebruary2021(CalendarWindow& window) {
  window.State().ShownYear = 2021;
  window.State().ShownMonth = 2;
  window.Calendar().BuildMonth(2021, 2);
}

void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi = {dx, dy, 0, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}

// 538 x 370 at the top right corner, all client area; a captionless,
// borderless tool window owned by a hidden window, so no taskbar lists it.
// Loading made its wake-up mark, icons, tray icon, cursor and pictures, and
// started Timer1.
TEST_F(CalendarWindowTest, ToolWindowAtTheTopRightCornerWithEverythingItUses) {
  RECT frame{}, client{};
  GetWindowRect(Handle(), &frame);
  GetClientRect(Handle(), &client);
  EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXFULLSCREEN) - 538);
  EXPECT_EQ(frame.top, 0);
  EXPECT_EQ(frame.right - frame.left, 538);
  EXPECT_EQ(frame.bottom - frame.top, 370);
  EXPECT_EQ(client.right * 1000 + client.bottom, 538370);
  const LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
  const LONG_PTR extended = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  EXPECT_EQ(extended & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP), WS_POPUP);
  HWND owner = GetWindow(Handle(), GW_OWNER);
  EXPECT_TRUE(owner && !IsWindowVisible(owner));
  EXPECT_EQ(FindWindowW(nullptr, L"Kelvo日历"), Handle());  // the calendar, not its owner
  EXPECT_EQ(GetPropA(Handle(), "KelvoCalendar_WakeUp"), reinterpret_cast<HANDLE>(1));
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(SendMessageW(Handle(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_TRUE(window->TrayIcon() && window->HandCursor());
  EXPECT_TRUE(window->HidePicture() && window->ArrowStrip());
  EXPECT_NE(window->State().LastNetTry, 0u);
  EXPECT_TRUE(KillTimer(Handle(), CalendarWindow::Timer1Id));  // succeeds only when running
  window->SetTimer1Enabled(true);
}

// One face through GDI: frame, header rule, panel gradient, big day box,
// separator band, the five-row grid's rules and the three-pixel selection
// outline, then on screen.
TEST_F(CalendarWindowTest, PaintsTheFaceThroughGdiAndShowsIt) {
  window->State().SelectedDay = 10;
  ShowFebruary2021(*window);  // the 10th at (122, 138)-(176, 192)
  // x, y, colour, tolerance per channel (the gradient is dithered)
  const int rows[][4] = {{0, 0, 0x57ABFF, 0},     {1, 1, 0x57ABFF, 0},     {200, 48, 0x57ABFF, 0},
                         {410, 3, 0x55AAFF, 1},   {410, 185, 0x64B1FF, 1}, {410, 366, 0x73B9FF, 1},
                         {435, 50, 0xFFBB00, 0},  {418, 200, 0x94C9FF, 0}, {40, 82, 0xC8CACC, 0},
                         {40, 83, 0xFFFFFF, 0},   {122, 160, 0xFFBB00, 0}, {124, 160, 0xFFBB00, 0},
                         {125, 160, 0xFFFFFF, 0}, {175, 191, 0xFFBB00, 0}};
  for (const auto& [x, y, rgb, tolerance] : rows) {
    const Color c = window->RetainedSurface().PixelAt(x, y);
    for (int channel : {c.Red - (rgb >> 16), c.Green - (rgb >> 8 & 0xFF), c.Blue - (rgb & 0xFF)}) {
      EXPECT_LE(std::abs(channel), tolerance)
          << x << "," << y << ": " << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
    }
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC screen = GetDC(Handle());
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(87, 171, 255));
  EXPECT_EQ(GetPixel(screen, 437, 52), RGB(255, 187, 0));
  ReleaseDC(Handle(), screen);
}

// A click steps the month; a real move onto a day outlines it; the hide
// button takes the face off the screen (not down to a minimised title bar).
TEST_F(CalendarWindowTest, ClicksAndMovesReachTheHandlers) {
  SetForegroundWindow(Handle());
  ShowFebruary2021(*window);
  const Rect cell = window->State().DayCells[15].CellRect;  // the 16th
  const auto moveTo = [&](POINT p, bool click) {
    ClientToScreen(Handle(), &p);
    SetCursorPos(p.x, p.y);
    Send(MOUSEEVENTF_MOVE);
    if (click) Send(MOUSEEVENTF_LEFTDOWN), Send(MOUSEEVENTF_LEFTUP);
    PumpMessages(3);
  };
  moveTo({215, 25}, true);  // the next-month arrow
  moveTo({cell.Left + 20, cell.Top + 20}, false);
  EXPECT_EQ(window->State().ShownMonth, 3);
  EXPECT_EQ(window->State().HoverCell, 15);
  EXPECT_EQ(window->RetainedSurface().PixelAt(cell.Left + 1, cell.Top + 20), (Color{255, 187, 0}));
  moveTo({388, 22}, true);
  EXPECT_FALSE(IsWindowVisible(Handle()) || IsIconic(Handle()));
  EXPECT_EQ(ShowHideText(*window), "显示日历");
}

// A left press on empty space starts the system's move loop inside its
// handler, so the rest of the drag comes from another thread, as a user's
// hand would.
TEST_F(CalendarWindowTest, DraggingEmptySpaceMovesTheWindow) {
  SetForegroundWindow(Handle());
  RECT before{}, after{};
  GetWindowRect(Handle(), &before);
  SetCursorPos(before.left + 60, before.top + 25);  // the year text: no button there
  std::thread hand([] {
    Sleep(300);
    Send(MOUSEEVENTF_MOVE, -100, 50);
    Sleep(300);
    Send(MOUSEEVENTF_LEFTUP);
  });
  Send(MOUSEEVENTF_LEFTDOWN);
  PumpMessages(3);
  hand.join();
  PumpMessages(5);
  GetWindowRect(Handle(), &after);  // as far as the pointer speed setting says
  EXPECT_LT(after.left, before.left);
  EXPECT_GT(after.top, before.top);
  EXPECT_FALSE(window->Calendar().OpenList());  // only a press that moved nothing opens it
  EXPECT_EQ(after.right - after.left, 538);
  EXPECT_EQ(after.bottom - after.top, 370);
  MoveWindow(Handle(), before.left, before.top, 538, 370, TRUE);
}

// A close request unloads: the window goes and the message loop ends;
// unloading again is harmless.
TEST(CalendarWindowShutdown, CloseRequestTakesTheWindowAndEndsTheLoop) {
  std::unique_ptr<CalendarWindow> window = StartCalendarWindow();
  HWND hWnd = window->Handle();
  SendMessageW(hWnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hWnd));
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  window->Unload();
}

// A module without bitmap 101 (kernel32): the load fails loudly instead of
// painting a face without its pictures.
TEST(CalendarWindowShutdown, MissingBitmapResourcesStopTheLoadWithAFault) {
  CalendarWindow window;
  window.OnInitialize();
  window.Create(GetModuleHandleW(L"kernel32.dll"));
  HWND hWnd = window.Handle();
  EXPECT_THROW(window.OnLoad(), std::runtime_error);
  window.Unload();
  EXPECT_FALSE(IsWindow(hWnd));
  PumpMessages(1);
}

std::vector<LONG> g_focused;
void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT) g_focused.push_back(child);
}

// A screen reader in another process reads the real program's face through
// oleacc, presses its buttons and days, hears the focus move after PgDn,
// and gets an error, not a crash, for a missing child and once the program
// has gone.
TEST(ScreenReaderClient, ReadsPressesAndFollowsTheFaceFromAnotherProcess) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  struct Program : PROCESS_INFORMATION {
    ~Program() { TerminateProcess(hProcess, 1), CloseHandle(hThread), CloseHandle(hProcess); }
  } program{};
  std::string command = "\"Z:" KELVO_TEST_CALENDAR_PATH "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &program));
  HWND face = nullptr;
  ASSERT_TRUE(test::WaitFor(
      [&] {
        DWORD pid = 0;
        face = FindWindowW(CalendarWindow::ClassName, nullptr);
        GetWindowThreadProcessId(face, &pid);
        return pid == program.dwProcessId && IsWindowVisible(face);
      },
      60000));
  CoInitialize(nullptr);
  IAccessible* reader = nullptr;
  ASSERT_EQ(AccessibleObjectFromWindow(face, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&reader)),
            S_OK);
  const auto child = [](LONG id) {
    VARIANT v{};
    v.vt = VT_I4, v.lVal = id;
    return v;
  };
  const auto name = [&](LONG id) {
    BSTR text = nullptr;
    const std::string said = reader->get_accName(child(id), &text) == S_OK ? FromWide(text) : "";
    SysFreeString(text);
    return said;
  };
  long count = 0;
  const auto press = [&](const char* button, int times) {
    for (; times > 0; --times) {
      reader->get_accChildCount(&count);
      LONG id = count;
      while (id > 0 && name(id) != button) --id;
      ASSERT_EQ(reader->accDoDefaultAction(child(id)), S_OK) << button;
    }
  };
  SYSTEMTIME now{};
  GetLocalTime(&now);
  press(now.wYear > 2024 ? "上一年" : "下一年", std::abs(now.wYear - 2024));
  press(now.wMonth > 2 ? "上一月" : "下一月", std::abs(now.wMonth - 2));
  reader->get_accChildCount(&count);
  EXPECT_EQ(count, 43);  // February 2024's 35 days and the header; no list served
  EXPECT_EQ(name(1), "2024年1月29日 星期一 农历腊月十九");
  EXPECT_EQ(name(7), "2024年2月4日 星期日 农历腊月廿五 立春 春节 班");
  EXPECT_EQ(name(13), "2024年2月10日 星期六 农历正月初一 春节 休");
  EXPECT_EQ(name(36), "年份 2024年");
  EXPECT_EQ(reader->accDoDefaultAction(child(18)), S_OK);  // the 15th

  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, program.dwProcessId,
                      0, WINEVENT_OUTOFCONTEXT);
  PumpMessages(2);
  g_focused.clear();
  PostMessageW(face, WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_TRUE(test::WaitFor([] { return PumpMessages(1), !g_focused.empty(); }, 20000));
  UnhookWinEvent(hook);
  EXPECT_EQ(name(g_focused.empty() ? 0 : g_focused.back()),
            "2024年3月15日 星期五 农历二月初六 消权日");

  press("上一年", 1);
  EXPECT_EQ(name(23), "2023年3月21日 星期二 农历二月三十 春分");
  EXPECT_EQ(name(24), "2023年3月22日 星期三 农历闰二月初一");
  BSTR text = nullptr;
  EXPECT_EQ(reader->get_accName(child(44), &text), E_INVALIDARG);
  EXPECT_EQ(reader->accDoDefaultAction(child(-1)), E_INVALIDARG);

  PostMessageW(face, WM_COMMAND, IDM_EXIT, 0);
  EXPECT_EQ(WaitForSingleObject(program.hProcess, 30000), WAIT_OBJECT_0);
  EXPECT_TRUE(FAILED(reader->get_accChildCount(&count)));
  reader->Release();
  CoUninitialize();
}

}  // namespace
}  // namespace kelvo::testing
