#include "window/win32/calendar_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "desktop/win32/mod_32bit_icon.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/settings.h"
#include "net/win32/mod_gg.h"
#include "net/win32/mod_holidays.h"
#include "update/win32/mod_main.h"
#include "window/face_layout.h"
#include "window/win32/local_clock.h"

namespace kelvo {
namespace {

constexpr int HidePictureId = 101;
constexpr int ArrowStripId = 102;
constexpr WORD HandCursorId = 32649;  // IDC_HAND
constexpr UINT TrackLeave = 2;        // TME_LEAVE
#if defined(__i386__)
static_assert(sizeof(TRACKMOUSEEVENT) == 16);
#endif

// Mouse buttons and shift keys as the portable handlers number them.
int ButtonsHeld(WPARAM wParam) {
  int buttons = 0;
  if (wParam & MK_LBUTTON) buttons |= LeftButton;
  if (wParam & MK_RBUTTON) buttons |= RightButton;
  if (wParam & MK_MBUTTON) buttons |= MiddleButton;
  return buttons;
}

int ShiftState(WPARAM wParam) {
  int shift = 0;
  if (wParam & MK_SHIFT) shift |= 1;
  if (wParam & MK_CONTROL) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

int ButtonOf(UINT uMsg) {
  switch (uMsg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return RightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return MiddleButton;
    default:
      return LeftButton;
  }
}

Bitmap LoadBitmapResource(HINSTANCE module, int id) {
  Bitmap bitmap(static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) {
    throw std::runtime_error("无法加载位图资源 " + std::to_string(id));
  }
  return bitmap;
}

}  // namespace

CalendarWindow::CalendarWindow()
    : m_surface(Width, Height),
      m_calendar(*this),
      m_networkTimer(
          m_calendar.State,
          CalendarTimerWindow{
              // An accepted update unloads this window from inside the check.
              [this] {
                return CheckForUpdate(
                    UpdateCalendar{m_hWnd, [this] { Unload(); }, [] { RequestComeBack(); }});
              },
              [this] { SetTimer1Enabled(false); },
              [this] { m_calendar.PaintCalendar(); },
              [this] { return m_loaded && m_hWnd != nullptr; },
              [this](uint32_t ms) {
                if (m_hWnd) SetTimer(m_hWnd, Timer1Id, ms, nullptr);
              },
              [this] { return m_hWnd; },
              Timer1Id,
              [this](HolidaySchedule holidays) { m_calendar.SetHolidays(std::move(holidays)); },
          }) {}

namespace {
bool g_comeBack = false;
}  // namespace

void CalendarWindow::RequestComeBack() {
  g_comeBack = true;
  // Ends the message loop of the gone window; the program then creates and
  // loads a new one.
  PostQuitMessage(0);
}

bool CalendarWindow::TakeComeBackRequest() {
  return std::exchange(g_comeBack, false);
}

CalendarWindow::~CalendarWindow() {
  Unload();
  DestroyOwnerWindow();
}

void CalendarWindow::OnInitialize() {
  InitCommonControls();
}

void CalendarWindow::Create(HINSTANCE instance) {
  m_resources = instance;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance, ClassName, &windowClass)) {
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ClassWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName;
    RegisterClassExW(&windowClass);
  }
  // A tool window has no taskbar button; WS_POPUP alone has no caption,
  // border or system buttons, so the window size is the client size.
  const std::wstring caption = ToWide(Caption);
  // The owner has no caption, so a search for the calendar by its caption
  // finds only the calendar window itself.
  m_ownerWindow =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  // Clipping the children keeps a repaint of the face off an open list.
  CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                  Width, Height, m_ownerWindow, nullptr, instance, this);
  if (!m_hWnd) throw std::runtime_error("无法创建日历窗口");
  SetTimer1Enabled(true);
}

void CalendarWindow::OnLoad() {
  m_loaded = true;
  // Marks the running calendar window for other programs.
  SetPropA(m_hWnd, WakeUpProperty, reinterpret_cast<HANDLE>(1));
  HookWindowProcedure();
  // Sent by the shell when the taskbar is re-created.
  m_taskbarCreatedMsg = RegisterWindowMessageA("TaskBarCreated");
  m_trayIcon = SetWindowIcons(m_hWnd);
  StartAnnouncementFetch();
  NotifyIcon().AddNotifyIcon(m_hWnd, m_trayIcon, Caption);
  LoadPictures();
  m_handCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(HandCursorId));
  FillTrayMenu();
  m_leaveTrack = TRACKMOUSEEVENT{sizeof(TRACKMOUSEEVENT), TrackLeave, m_hWnd, 0};
  // The calendar tables are constant data of the engine: nothing to fill;
  // a stored holiday file completes them.
  LoadStoredHolidays();
  // Today's month with today selected, which paints the face.
  m_calendar.StartAtToday();
  // From now on the face moves on with the date by itself.
  ArmMidnightTimer();
  // Right edge on the right of the work area, top on the top of the screen.
  MoveWindow(m_hWnd, GetSystemMetrics(SM_CXFULLSCREEN) - Width, 0, Width, Height, TRUE);
  LoadStoredSettings();
  State().LastNetTry = GetTickCount();
}

void CalendarWindow::Show() {
  ShowWindow(m_hWnd, SW_SHOW);
  UpdateWindow(m_hWnd);
}

void CalendarWindow::OnUnload() {
  RemovePropA(m_hWnd, WakeUpProperty);
  if (m_handCursor) DestroyCursor(m_handCursor);
  m_handCursor = nullptr;
  UnhookWindowProcedure();
}

void CalendarWindow::Unload() {
  if (!m_hWnd) return;
  if (m_loaded) {
    m_loaded = false;
    OnUnload();
  }
  DestroyWindow(m_hWnd);
  DestroyOwnerWindow();
}

void CalendarWindow::DestroyOwnerWindow() {
  if (m_ownerWindow) DestroyWindow(m_ownerWindow);
  m_ownerWindow = nullptr;
}

// --- the steps that reach other subsystems ---------------------------------

// Start-up step 2: route the window's messages through WindowProc, which
// passes them on to the class procedure.
void CalendarWindow::HookWindowProcedure() {
  (SubclassWindow)(m_subclassData, m_hWnd, this, SubclassProc);
}

// Shutdown step 3: take the hook out again.
void CalendarWindow::UnhookWindowProcedure() {
  UnsubclassWindow(m_subclassData, m_hWnd);
}

// Start-up step 5: fetch the announcement list in the background.
void CalendarWindow::StartAnnouncementFetch() {
  // The list's arrival ticks Timer1 at once; between steps it sleeps.
  NotifyWhenGGLoaded(m_hWnd, WM_TIMER, Timer1Id);
  StartGGFetch();
}

// Before the first month is built: the holiday file this user's program
// took earlier, judged again; the built-in table when there is none.
void CalendarWindow::LoadStoredHolidays() {
  if (std::optional<HolidayFile> file = kelvo::LoadStoredHolidays())
    State().Holidays = HolidaySchedule(std::move(*file));
}

// Start-up step 15: apply the stored semi-transparent and start-up settings.
void CalendarWindow::LoadStoredSettings() {
  LoadSettings(m_hWnd, TrayMenu());
}

// The network timer's tick: a network step every 15 seconds until the
// announcement list arrived, then its publication on the face.
void CalendarWindow::Timer1_Timer() {
  m_networkTimer.Timer1_Timer();
}

// ----------------------------------------------------------------------------

void CalendarWindow::LoadPictures() {
  m_hidePicture = LoadBitmapResource(m_resources, HidePictureId);
  m_arrowStrip = LoadBitmapResource(m_resources, ArrowStripId);
  m_surface.SetPicture(PictureId::HidePicture, m_hidePicture.Get());
  m_surface.SetPicture(PictureId::ArrowStrip, m_arrowStrip.Get());
}

void CalendarWindow::FillTrayMenu() {
  CKelvoMenu& menu = TrayMenu();
  menu.InsertItem(IDM_SHOWHIDE, "隐藏日历", MFT_STRING);
  menu.InsertItem(IDM_TRANSPARENT, "半透明显示(&T)", MFT_STRING);
  menu.InsertItem(IDM_AUTORUN, "开机启动", MFT_STRING);
  menu.InsertItem(0, "", MFT_SEPARATOR);
  menu.InsertItem(IDM_EXIT, "退出程序(&X)", MFT_STRING);
}

CKelvoMenu& CalendarWindow::TrayMenu() {
  if (!m_trayMenu) m_trayMenu.emplace();
  return *m_trayMenu;
}

CKelvoNotifyIcon& CalendarWindow::NotifyIcon() {
  if (!m_notifyIcon) m_notifyIcon.emplace();
  return *m_notifyIcon;
}

void CalendarWindow::FollowLocalDate(bool clockSet) {
  if (clockSet) {
    m_calendar.OnTimeChange();
  } else {
    m_calendar.OnDateChange();
  }
  ArmMidnightTimer();
}

void CalendarWindow::ArmMidnightTimer() {
  if (!m_hWnd) return;
  // One timer for the whole day rather than a periodic look at the clock,
  // so an idle calendar stays asleep. The timer counts elapsed time, which
  // sleep, hibernation and a set clock put out of step with the wall clock;
  // those moments arm it again.
  const int64_t ms = MsUntilNextLocalDate(SystemNowMs(), LocalReadingAt);
  SetTimer(m_hWnd, MidnightTimerId, static_cast<UINT>(ms), nullptr);
}

void CalendarWindow::SetTimer1Enabled(bool enabled) {
  if (enabled) {
    SetTimer(m_hWnd, Timer1Id, Timer1Interval, nullptr);
  } else {
    KillTimer(m_hWnd, Timer1Id);
  }
}

// --- WindowHost ---------------------------------------------------------------

void CalendarWindow::SurfaceChanged() {
  if (m_hWnd) InvalidateRect(m_hWnd, nullptr, FALSE);
  // Every change of the selection ends in a repaint: announced from here.
  m_accessibility.OnSurfaceChanged(m_hWnd, m_calendar);
}

Date CalendarWindow::Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {static_cast<int16_t>(now.wYear), static_cast<int16_t>(now.wMonth),
          static_cast<int16_t>(now.wDay)};
}

bool CalendarWindow::BeginWindowDrag() {
  RECT before{}, after{};
  GetWindowRect(m_hWnd, &before);
  // The press took the capture; the system's move loop needs it back, and
  // a press on the "caption" makes the system move the window with the mouse.
  ReleaseCapture();
  SendMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
  GetWindowRect(m_hWnd, &after);
  return !EqualRect(&before, &after);
}

void CalendarWindow::TrackMouseLeave() {
  _TrackMouseEvent(&m_leaveTrack);
}

void CalendarWindow::OpenUrl(const std::string& url) {
  const std::wstring address = ToWide(url);
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CalendarWindow::HideWindow() {
  ShowWindow(m_hWnd, SW_HIDE);
}

void CalendarWindow::SetMenuItemText(int id, const std::string& text) {
  TrayMenu().ModifyItem(static_cast<UINT>(id), MIIM_STRING, text);
}

void CalendarWindow::ShowList(SelectorList list, const std::vector<std::string>& items,
                              int selected) {
  m_listBox.Open(m_hWnd, LayoutOf(list), items, selected,
                 m_surface.FontFor({face::SongFont, 9, false, false}));
}

void CalendarWindow::CloseList() {
  m_listBox.Close();
}

// --- messages ---------------------------------------------------------------

LRESULT CALLBACK CalendarWindow::ClassWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam,
                                                 LPARAM lParam) {
  if (uMsg == WM_NCCREATE) {
    auto* window =
        static_cast<CalendarWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->m_hWnd = hWnd;
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<CalendarWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  if (!window) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
  if (uMsg == WM_NCDESTROY) {
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    window->m_hWnd = nullptr;
    return DefWindowProcW(hWnd, uMsg, wParam, lParam);
  }
  return window->HandleMessage(uMsg, wParam, lParam);
}

LRESULT CalendarWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the retained surface covers every pixel
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      OnMouseButton(uMsg, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return 0;
    case WM_KEYDOWN:
      m_calendar.OnKeyDown(static_cast<int>(wParam), GetKeyState(VK_CONTROL) < 0);
      return 0;
    case SelectorListBox::DoneMessage:
      if (wParam) {
        m_calendar.ChooseFromList(m_listBox.Highlighted());
      } else {
        m_calendar.CloseList();
      }
      return 0;
    case WM_ACTIVATE:
      // Once the activation has settled, so the face does not take the focus back.
      if (LOWORD(wParam) == WA_INACTIVE) PostMessageW(m_hWnd, SelectorListBox::DoneMessage, 0, 0);
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case WM_SHOWWINDOW:
      if (!wParam) m_calendar.CloseList();
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case WM_MOUSEMOVE:
      m_calendar.OnMouseMove(ButtonsHeld(wParam), ShiftState(wParam), GET_X_LPARAM(lParam),
                             GET_Y_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == Timer1Id) Timer1_Timer();
      // A timer may fire a little early: the date is looked at, not assumed.
      if (wParam == MidnightTimerId) FollowLocalDate(false);
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT object = m_accessibility.OnGetObject(m_hWnd, m_calendar, wParam, lParam))
        return object;
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case WM_DESTROY:
      m_accessibility.Disconnect();
      m_listBox.Close();
      KillTimer(m_hWnd, Timer1Id);
      KillTimer(m_hWnd, MidnightTimerId);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
  }
}

void CalendarWindow::OnMouseButton(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const int button = ButtonOf(uMsg);
  const bool press = uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN;
  if (press) {
    // Like any form, the window keeps the mouse while a button is down, so
    // the release reaches it even outside.
    SetCapture(m_hWnd);
    m_calendar.OnMouseDown(button, ShiftState(wParam), x, y);
  } else {
    if (ButtonsHeld(wParam) == 0 && GetCapture() == m_hWnd) ReleaseCapture();
    m_calendar.OnMouseUp(button, ShiftState(wParam), x, y);
  }
}

void CalendarWindow::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel reports the pointer in screen coordinates.
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hWnd, &point);
  m_calendar.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), point.x, point.y);
}

void CalendarWindow::OnPaint() {
  PaintScope paint(m_hWnd);
  const RECT& area = paint.Area();
  BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
         m_surface.Dc(), area.left, area.top, SRCCOPY);
}

}  // namespace kelvo
