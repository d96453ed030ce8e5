// The calendar window as the program creates it: attributes, real GDI
// pixels of one face, real mouse input (SendInput) reaching its handlers,
// its place on the screen and the shutdown, at the DPI of the prefix
// (KELVO_TEST_DPI; the face is compared by face units, scaled). What each
// gesture decides is pinned natively.
#include <windows.h>

#include <oleacc.h>
#include <shlobj.h>

#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "desktop/settings_rules.h"
#include "desktop/win32/settings.h"
#include "net/win32/whole_file.h"
#include "tests/support/wine_testing.h"
#include "tests/window/win32/window_fixture.h"
#include "window/face_scale.h"
#include "window/own_days_view.h"
#include "window/win32/local_clock.h"
#include "window/win32/screen_monitors.h"

namespace kelvo::testing {
namespace {

class CalendarWindowTest : public LoadedWindow {
 protected:
  int Px(int units) const { return ScaleLength(units, window->Dpi()); }
};

// February 2021: Monday 1st, 28 days, the 16th at cell 15.
void ShowFebruary2021(CalendarWindow& window) {
  window.State().ShownYear = 2021;
  window.State().ShownMonth = 2;
  window.Calendar().BuildMonth(2021, 2);
}

// The DPI the prefix's LogPixels set.
int PrefixDpi() {
  const char* dpi = std::getenv("KELVO_TEST_DPI");
  return dpi ? std::atoi(dpi) : 96;
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT FrameOf(HWND hWnd) {
  RECT frame{};
  GetWindowRect(hWnd, &frame);
  return frame;
}

void Send(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi = {dx, dy, 0, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}

// 538 x 370 face units at the top right corner of the work area, all
// client area, its text in fonts made at the DPI; a captionless,
// borderless tool window owned by a hidden window, so no taskbar lists it.
// Loading made its wake-up mark, icons, tray icon, cursor and pictures, and
// started Timer1.
TEST_F(CalendarWindowTest, ToolWindowAtTheTopRightCornerWithEverythingItUses) {
  ASSERT_EQ(window->Dpi(), PrefixDpi());
  const RECT frame = FrameOf(Handle()), work = WorkArea();
  RECT client{};
  GetClientRect(Handle(), &client);
  EXPECT_EQ(frame.right, work.right);
  EXPECT_EQ(frame.top, work.top);
  EXPECT_EQ(frame.right - frame.left, Px(538));  // 807 at 144 DPI
  EXPECT_EQ(frame.bottom - frame.top, Px(370));
  EXPECT_EQ(client.right * 1000 + client.bottom, Px(538) * 1000 + Px(370));
  EXPECT_EQ(window->RetainedSurface().Width() * 1000 + window->RetainedSurface().Height(),
            Px(538) * 1000 + Px(370));
  LOGFONTW font{};
  GetObjectW(window->RetainedSurface().FontFor({"Arial", 13, true, false}), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(13, PrefixDpi(), 72));
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
                         {126, 160, 0xFFFFFF, 0}, {175, 191, 0xFFBB00, 0}};
  for (const auto& [x, y, rgb, tolerance] : rows) {
    const Color c = window->RetainedSurface().PixelAt(Px(x), Px(y));
    for (int channel : {c.Red - (rgb >> 16), c.Green - (rgb >> 8 & 0xFF), c.Blue - (rgb & 0xFF)}) {
      EXPECT_LE(std::abs(channel), tolerance)
          << x << "," << y << ": " << int(c.Red) << "," << int(c.Green) << "," << int(c.Blue);
    }
  }
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC screen = GetDC(Handle());
  EXPECT_EQ(GetPixel(screen, 0, 0), RGB(87, 171, 255));
  EXPECT_EQ(GetPixel(screen, Px(437), Px(52)), RGB(255, 187, 0));
  ReleaseDC(Handle(), screen);
}

// The manifest linked in: version 6 of the common controls, Windows 7 and
// 10/11 among the supported systems, per-monitor DPI awareness (v2, else
// v1), and the starter's rights: a standard user is never asked to elevate.
TEST(Resources, ManifestRunsAsInvokerWithCommonControls6) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                             SizeofResource(nullptr, found));
  for (const char* part :
       {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", ">true/pm</dpiAware>",
        ">PerMonitorV2</dpiAwareness>", "level=\"asInvoker\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

// A click steps the month; a real move onto a day outlines it; the hide
// button takes the face off the screen (not down to a minimised title bar).
TEST_F(CalendarWindowTest, ClicksAndMovesReachTheHandlers) {
  SetForegroundWindow(Handle());
  ShowFebruary2021(*window);
  const Rect cell = window->State().DayCells[15].CellRect;  // the 16th
  const auto moveTo = [&](POINT units, bool click) {
    POINT p{Px(units.x), Px(units.y)};
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
  EXPECT_EQ(window->RetainedSurface().PixelAt(Px(cell.Left), Px(cell.Top + 20)),
            (Color{255, 187, 0}));
  moveTo({cell.Left + 20, cell.Top + 20}, true);
  EXPECT_EQ(window->State().SelectedDay, 16);
  moveTo({388, 22}, true);
  EXPECT_FALSE(IsWindowVisible(Handle()) || IsIconic(Handle()));
  EXPECT_EQ(ShowHideText(*window), "显示日历");
}

// A left press on empty space starts the system's move loop inside its
// handler, so the rest of the drag comes from another thread, as a user's
// hand would. The place is remembered: a restart comes back to it, and a
// place beyond the work area comes back shifted whole into it.
TEST_F(CalendarWindowTest, DraggedFaceIsRememberedAndComesBackWholeInsideTheWorkArea) {
  SetForegroundWindow(Handle());
  const RECT before = FrameOf(Handle()), work = WorkArea();
  SetCursorPos(before.left + Px(60), before.top + Px(25));  // the year text: no button there
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
  const RECT after = FrameOf(Handle());  // as far as the pointer speed setting says
  EXPECT_LT(after.left, before.left);
  EXPECT_GT(after.top, before.top);
  EXPECT_FALSE(window->Calendar().OpenList());  // only a press that moved nothing opens it
  EXPECT_EQ(after.right - after.left, Px(538));
  EXPECT_EQ(after.bottom - after.top, Px(370));
  const std::optional<RememberedPlace> stored =
      ParseFacePlace(ReadSettingText(CalendarWindow::FacePlaceValue).value_or(""));
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Face, (Rect{after.left, after.top, after.right, after.bottom}));
  const RECT restarted = FrameOf(StartCalendarWindow()->Handle());
  EXPECT_TRUE(EqualRect(&after, &restarted));

  WriteSettingText(
      CalendarWindow::FacePlaceValue,
      FacePlaceText({{work.right + 300, work.bottom - 100, work.right + 900, work.bottom + 300},
                     stored->DeviceName,
                     96}));
  const RECT clamped = FrameOf(StartCalendarWindow()->Handle());
  EXPECT_EQ(clamped.right * 10000 + clamped.bottom, work.right * 10000 + work.bottom);
  EXPECT_EQ(clamped.right - clamped.left, Px(538));

  // Partly off the screen, a display change brings the dragged face in,
  // the least distance; "回到右上角" takes it home and forgets the place.
  MoveWindow(Handle(), work.left - Px(100), work.top + Px(50), Px(538), Px(370), TRUE);
  SendMessageW(Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(work.right, work.bottom));
  PumpMessages(2);
  EXPECT_EQ(FrameOf(Handle()).left * 10000 + FrameOf(Handle()).top,
            work.left * 10000 + work.top + Px(50));
  SendMessageW(Handle(), WM_COMMAND, IDM_HOME, 0);
  EXPECT_EQ(FrameOf(Handle()).right * 10000 + FrameOf(Handle()).top, work.right * 10000 + work.top);
  EXPECT_EQ(ReadSettingText(CalendarWindow::FacePlaceValue).value_or("?"), "");
  // At home, a display change puts it back in the corner.
  MoveWindow(Handle(), Px(10), Px(10), Px(538), Px(370), TRUE);
  SendMessageW(Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  PumpMessages(2);
  EXPECT_EQ(FrameOf(Handle()).right * 10000 + FrameOf(Handle()).top, work.right * 10000 + work.top);
  // A place that cannot be stored is said.
  const test::ReadOnlyKey locked{HKEY_CURRENT_USER, kSettingsKey};
  SendMessageW(Handle(), WM_COMMAND, IDM_HOME, 0);
  EXPECT_EQ(FromAnsi(window->NotifyIcon().Record().szInfo),
            NoticeText(SettingNotice::PlaceNotStored));
}

// A virtual desktop (KELVO_TEST_DESKTOP, 1600x900) drops to 1024x768, as an
// unplugged dock does: the face at home goes back to the corner, the dragged
// one the least distance whole inside.
TEST_F(CalendarWindowTest, DesktopModeChangeLeavesTheDraggedFaceWholeInside) {
  if (!std::getenv("KELVO_TEST_DESKTOP")) GTEST_SKIP() << "needs a virtual desktop";
  const RECT work = WorkArea();
  ASSERT_EQ(work.right, 1600);
  const Rect lowerRight{1550 - Px(538), work.bottom - 50 - Px(370), 1550, work.bottom - 50};
  WriteSettingText(CalendarWindow::FacePlaceValue,
                   FacePlaceText({lowerRight, PlaceOf(Handle(), window->Dpi()).DeviceName, 96}));
  const auto dragged = StartCalendarWindow();
  ASSERT_EQ(FrameOf(dragged->Handle()).right, 1550);

  DEVMODEW mode{};
  mode.dmSize = sizeof mode, mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = 1024, mode.dmPelsHeight = 768;
  ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
  PumpMessages(10);
  const RECT home = FrameOf(Handle()), moved = FrameOf(dragged->Handle());
  EXPECT_EQ(home.right * 10000 + home.top, 1024 * 10000 + work.top);
  EXPECT_EQ(moved.right, 1024);
  EXPECT_TRUE(moved.top >= 0 && moved.bottom <= 768 && moved.bottom - moved.top == Px(370));
}

// A move to a monitor of another DPI rebuilds the face at that scale, at
// the system's rectangle, and is placed again afterwards.
TEST_F(CalendarWindowTest, DpiChangeRebuildsTheFaceAtTheNewScale) {
  const int dpis[] = {window->Dpi() == 144 ? 96 : 144, PrefixDpi()};
  for (int dpi : dpis) {
    RECT suggested{100, 100, 100 + ScaleLength(538, dpi), 100 + ScaleLength(370, dpi)};
    SendMessageW(Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(window->Dpi(), dpi);
    EXPECT_EQ(window->RetainedSurface().Width(), ScaleLength(538, dpi));
    EXPECT_EQ(FrameOf(Handle()).right - FrameOf(Handle()).left, ScaleLength(538, dpi));
    EXPECT_EQ(window->RetainedSurface().PixelAt(ScaleLength(437, dpi), ScaleLength(52, dpi)),
              (Color{255, 187, 0}));
    PumpMessages(2);
    EXPECT_EQ(FrameOf(Handle()).right, WorkArea().right) << "placed again, at home";
  }
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

// The user's days file, its refused copies and the reminded-up-to time,
// none of them there before or after each test.
class OwnDaysWindow : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void TearDown() override { Clear(); }
  static void Clear() {
    for (const std::string suffix : {"", ".bad", ".bad2"}) DeleteFileA((Path() + suffix).c_str());
    test::DeleteValue(kSettingsKey, "RemindedUntil");
  }
  static std::string Path() { return FromWide(KelvoFolder(CSIDL_APPDATA, true)) + "\\days.txt"; }
  static void WriteDays(const std::string& lines) {
    test::WriteBytes(Path(), "KELVO-DAYS 1\n" + lines);
  }
  static std::string MonthDay(Date date) { return FormatIsoDate(date).substr(5); }
  static void RemindedUntil(int64_t minute) {
    const std::string text = std::to_string(minute);
    test::WriteValue(kSettingsKey, "RemindedUntil", REG_SZ, text.c_str() + std::string(1, '\0'));
  }
  static std::string BalloonTitle(CalendarWindow& window) {
    return FromAnsi(window.NotifyIcon().Record().szInfoTitle);
  }
  static std::string BalloonText(CalendarWindow& window) {
    return FromAnsi(window.NotifyIcon().Record().szInfo);
  }
  const LocalReading now = LocalReadingAt(SystemNowMs());
};

TEST_F(OwnDaysWindow, DaysFileInTheProfileMarksTheFaceAndThePanelNamesTheDay) {
  const Date day{now.Day.Year, now.Day.Month, static_cast<int16_t>(now.Day.Day == 1 ? 2 : 1)};
  WriteDays("a1 公历 " + MonthDay(day) + " 2000 纪念日 - - 开业\n");
  const auto window = StartCalendarWindow();
  const DayCell& cell =
      window->State().DayCells[WeekdayFromMonday({day.Year, day.Month, 1}) + day.Day - 1];
  EXPECT_EQ(cell.OwnDayNames, std::vector<std::string>{"开业"});
  const Rect& area = cell.CellRect;
  EXPECT_EQ(window->RetainedSurface().PixelAt(area.Left + 6, area.Bottom - 7),
            (Color{0, 153, 102}));
  window->Calendar().ShowDate(day);
  EXPECT_EQ(window->State().PanelOwnDayText, "开业 · " + std::to_string(day.Year - 2000) + "周年");
}

TEST_F(OwnDaysWindow, RefusedFileIsKeptNotOverwrittenAndMovedAsideAtTheFirstSave) {
  WriteDays("a1 公历 04-31 - 纪念日 - - 不存在\n");
  const std::string refused = test::ReadBytes(Path());
  const auto window = StartCalendarWindow();
  EXPECT_TRUE(window->State().OwnDays.empty());
  EXPECT_NE(BalloonText(*window).find("days.txt"), std::string::npos) << BalloonText(*window);
  EXPECT_EQ(test::ReadBytes(Path()), refused);
  const FormOutcome added = OwnDayFromForm(FormForDate({2021, 2, 16}, false), "b2");
  EXPECT_TRUE(window->ChangeOwnDays([&](std::vector<OwnDay>& days) { days.push_back(added.Day); }));
  EXPECT_EQ(test::ReadBytes(Path() + ".bad"), refused);
  EXPECT_EQ(test::ReadBytes(Path()), FormatDaysFile({added.Day}));
  EXPECT_NE(BalloonText(*window).find("days.txt.bad"), std::string::npos);
}

TEST_F(OwnDaysWindow, MissedReminderShowsOnceAtStartAndNotAgainAfterARestart) {
  // Reminded three days before, at 00:00: due two days ago, its day still
  // ahead, and the days left counted from today.
  WriteDays("a1 公历 " + MonthDay(AddDays(now.Day, 1)) + " - 生日 3 00:00 Grandpa\n");
  RemindedUntil(LocalMinuteOf(now) - 3 * 1440);
  {
    const auto window = StartCalendarWindow();
    EXPECT_EQ(BalloonTitle(*window), "Grandpa");
    EXPECT_TRUE(BalloonText(*window).ends_with(" · 还有1天")) << BalloonText(*window);
  }
  EXPECT_EQ(BalloonTitle(*StartCalendarWindow()), "");
}

TEST_F(OwnDaysWindow, ReminderDueAMinuteAheadShowsABalloonWhoseClickShowsThatDay) {
  const int64_t next = now.MsOfDay / 60000 + 1;
  if (next >= 1439) GTEST_SKIP() << "too close to midnight";
  char time[8];
  std::snprintf(time, sizeof time, "%02d:%02d", int(next / 60), int(next % 60));
  WriteDays("a1 公历 " + MonthDay(now.Day) + " - 纪念日 0 " + time + " Soon\n");
  RemindedUntil(LocalMinuteOf(now));
  const auto window = StartCalendarWindow();
  EXPECT_EQ(BalloonTitle(*window), "");
  EXPECT_TRUE(
      test::WaitFor([&] { return PumpMessages(1), BalloonTitle(*window) == "Soon"; }, 180000));
  window->Calendar().NextYear();
  SendMessageW(window->Handle(), WM_TRAYNOTIFY, 0, kBalloonClickMessage);
  EXPECT_EQ(window->State().ShownYear, now.Day.Year);
  EXPECT_EQ(window->State().SelectedDay, now.Day.Day);
}

// Right click on the 16th, the menu's first item, a name typed, Enter: the
// day is kept by its lunar date (正月初五) and marks its cell.
TEST_F(OwnDaysWindow, DialogAddsADayThroughRealInput) {
  const auto window = StartCalendarWindow();
  SetForegroundWindow(window->Handle());
  ShowFebruary2021(*window);
  const auto key = [](WORD vk, wchar_t unit = 0) {
    INPUT input[2]{};
    for (INPUT& press : input) press.type = INPUT_KEYBOARD, press.ki = {vk, unit, 0, 0, 0};
    if (unit) input[0].ki.dwFlags = input[1].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof *input);
  };
  std::thread hand([&] {
    test::WaitFor([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 30000);
    key(VK_DOWN), key(VK_RETURN);
    test::WaitFor([] { return FindWindowW(L"#32770", L"纪念日") != nullptr; }, 30000);
    Sleep(500);
    for (const wchar_t unit : std::wstring(L"Test")) key(0, unit);
    key(VK_RETURN);
  });
  const Rect cell = window->State().DayCells[15].CellRect;
  POINT point{cell.Left + 20, cell.Top + 20};
  ClientToScreen(window->Handle(), &point);
  SetCursorPos(point.x, point.y);
  Send(MOUSEEVENTF_RIGHTDOWN), Send(MOUSEEVENTF_RIGHTUP);
  test::WaitFor([&] { return PumpMessages(1), !window->State().OwnDays.empty(); }, 60000);
  hand.join();
  ASSERT_EQ(window->State().OwnDays.size(), 1u);
  EXPECT_EQ(window->State().DayCells[15].OwnDayNames, std::vector<std::string>{"Test"});
  EXPECT_NE(test::ReadBytes(Path()).find(" 农历 01-05 - 生日 0 09:00 Test\n"), std::string::npos);
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
