#include "window/win32/calendar_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "desktop/win32/mod_32bit_icon.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/settings.h"
#include "desktop/win32/window_dpi.h"
#include "net/win32/mod_gg.h"
#include "net/win32/mod_holidays.h"
#include "update/win32/mod_main.h"
#include "window/face_layout.h"
#include "window/face_scale.h"
#include "window/hot_regions.h"
#include "window/win32/local_clock.h"
#include "window/win32/screen_monitors.h"

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

Bitmap LoadBitmapResource(HINSTANCE module, int id, int scale) {
  Bitmap bitmap(
      static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(ScaledPictureId(id, scale)),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!bitmap) {
    throw std::runtime_error("无法加载位图资源 " + std::to_string(id));
  }
  return bitmap;
}

Color SystemColor(int index) {
  const COLORREF color = GetSysColor(index);
  return {GetRValue(color), GetGValue(color), GetBValue(color)};
}

ListLayout ScaleLayout(ListLayout layout, int dpi) {
  layout.Area = ScaleRect(layout.Area, dpi);
  layout.ItemHeight = ScaleLength(layout.ItemHeight, dpi);
  layout.ColumnWidth = ScaleLength(layout.ColumnWidth, dpi);
  return layout;
}

}  // namespace

CalendarWindow::CalendarWindow()
    : m_surface(std::make_unique<GdiCanvas>(Width, Height)),
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
  ApplyDpi(WindowDpi(m_hWnd));
  m_handCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(HandCursorId));
  FillTrayMenu();
  m_leaveTrack = TRACKMOUSEEVENT{sizeof(TRACKMOUSEEVENT), TrackLeave, m_hWnd, 0};
  // The calendar tables are constant data of the engine: nothing to fill;
  // a stored holiday file completes them.
  LoadStoredHolidays();
  LoadOwnDays();
  FollowHighContrast();
  // Today's month with today selected, which paints the face.
  m_calendar.StartAtToday();
  // From now on the face moves on with the date by itself.
  ArmMidnightTimer();
  // Reminders missed while the program was not running, then the next one.
  RemindDue();
  // Where the user left it, else the top-right corner of the work area.
  if (std::optional<std::string> place = ReadSettingText(FacePlaceValue))
    m_place = ParseFacePlace(*place);
  PlaceFace();
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
  const int scale = PictureScaleFor(m_dpi);
  m_hidePicture = LoadBitmapResource(m_resources, HidePictureId, scale);
  m_arrowStrip = LoadBitmapResource(m_resources, ArrowStripId, scale);
  m_surface->SetPicture(PictureId::HidePicture, m_hidePicture.Get(), scale);
  m_surface->SetPicture(PictureId::ArrowStrip, m_arrowStrip.Get(), scale);
}

void CalendarWindow::ApplyDpi(int dpi) {
  m_dpi = ClampDpi(dpi);
  // The open list has the old fonts and sizes; it closes like Esc.
  m_calendar.CloseList();
  m_surface = std::make_unique<GdiCanvas>(Width, Height, m_dpi);
  LoadPictures();
  if (State().CellCount > 0) m_calendar.PaintCalendar();
}

void CalendarWindow::PlaceFace() {
  const Rect place = kelvo::PlaceFace(ListMonitors(), m_place, ScaleLength(Width, m_dpi),
                                      ScaleLength(Height, m_dpi));
  SetWindowPos(m_hWnd, nullptr, place.Left, place.Top, place.Right - place.Left,
               place.Bottom - place.Top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CalendarWindow::FollowHighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  const bool on = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                  (contrast.dwFlags & HCF_HIGHCONTRASTON);
  const FacePalette palette =
      on ? HighContrastPalette(SystemColor(COLOR_WINDOW), SystemColor(COLOR_WINDOWTEXT),
                               SystemColor(COLOR_HIGHLIGHT), SystemColor(COLOR_HIGHLIGHTTEXT),
                               SystemColor(COLOR_GRAYTEXT))
         : NormalPalette;
  if (palette == m_calendar.Palette) return;
  m_calendar.Palette = palette;
  if (State().CellCount > 0) m_calendar.PaintCalendar();
}

void CalendarWindow::GoHome() {
  m_place.reset();
  StorePlace("");
  PlaceFace();
}

void CalendarWindow::RememberPlace() {
  m_place = PlaceOf(m_hWnd, m_dpi);
  StorePlace(FacePlaceText(*m_place));
}

void CalendarWindow::StorePlace(const std::string& text) {
  // Said once a run: every later drag would fail the same way.
  if (WriteSettingText(FacePlaceValue, text) || m_placeNoticeSaid) return;
  m_placeNoticeSaid = true;
  SayNotice(std::string(NoticeText(SettingNotice::PlaceNotStored)));
}

void CalendarWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  ApplyDpi(LOWORD(wParam));
  // The system's rectangle keeps the face under the mouse while it is
  // dragged across monitors; the size is the face's own at the new DPI.
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, ScaleLength(Width, m_dpi),
               ScaleLength(Height, m_dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CalendarWindow::FillTrayMenu() {
  CKelvoMenu& menu = TrayMenu();
  menu.InsertItem(IDM_SHOWHIDE, "隐藏日历", MFT_STRING);
  menu.InsertItem(IDM_TRANSPARENT, "半透明显示(&T)", MFT_STRING);
  menu.InsertItem(IDM_AUTORUN, "开机启动", MFT_STRING);
  menu.InsertItem(IDM_OWNDAYS, "纪念日…", MFT_STRING);
  menu.InsertItem(IDM_HOME, "回到右上角", MFT_STRING);
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
  // After a wake or a set clock, reminders that fell due meanwhile show now.
  RemindDue();
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
  if (EqualRect(&before, &after)) return false;
  RememberPlace();
  return true;
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
  m_listBox.Open(m_hWnd, ScaleLayout(LayoutOf(list), m_dpi), items, selected,
                 m_surface->FontFor({face::SongFont, 9, false, false}));
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
      m_calendar.OnMouseMove(ButtonsHeld(wParam), ShiftState(wParam),
                             FaceUnitAt(GET_X_LPARAM(lParam), m_dpi),
                             FaceUnitAt(GET_Y_LPARAM(lParam), m_dpi));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(wParam, lParam);
      PostMessageW(m_hWnd, PlaceAgainMessage, 0, 0);
      return 0;
    case WM_DISPLAYCHANGE:
      PostMessageW(m_hWnd, PlaceAgainMessage, 0, 0);
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) PostMessageW(m_hWnd, PlaceAgainMessage, 0, 0);
      FollowHighContrast();
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case WM_SYSCOLORCHANGE:
      FollowHighContrast();
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
    case PlaceAgainMessage: {
      // Several notices of one change come in a burst; the first placement
      // settles it and the rest find nothing to move.
      MSG duplicate;
      while (PeekMessageW(&duplicate, m_hWnd, PlaceAgainMessage, PlaceAgainMessage, PM_REMOVE)) {
      }
      // A dragged face keeps where it is now, moved only as far as needed.
      if (m_place) m_place = PlaceOf(m_hWnd, m_dpi);
      PlaceFace();
      return 0;
    }
    case WM_TIMER:
      if (wParam == Timer1Id) Timer1_Timer();
      // A timer may fire a little early: the date is looked at, not assumed.
      if (wParam == MidnightTimerId) FollowLocalDate(false);
      if (wParam == ReminderTimerId) RemindDue();
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
      KillTimer(m_hWnd, ReminderTimerId);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
  }
}

void CalendarWindow::OnMouseButton(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  const int x = FaceUnitAt(GET_X_LPARAM(lParam), m_dpi);
  const int y = FaceUnitAt(GET_Y_LPARAM(lParam), m_dpi);
  const int button = ButtonOf(uMsg);
  const bool press = uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN || uMsg == WM_MBUTTONDOWN;
  if (press) {
    // Like any form, the window keeps the mouse while a button is down, so
    // the release reaches it even outside.
    SetCapture(m_hWnd);
    // A press that only closes a list opens no day menu either.
    if (uMsg == WM_RBUTTONDOWN) m_rightPressClosedList = m_calendar.OpenList().has_value();
    m_calendar.OnMouseDown(button, ShiftState(wParam), x, y);
  } else {
    if (ButtonsHeld(wParam) == 0 && GetCapture() == m_hWnd) ReleaseCapture();
    // The cell's date before the release, which may move the face to its month.
    const int cell =
        uMsg == WM_RBUTTONUP && !m_rightPressClosedList ? CellIndexAt(State(), x, y) : -1;
    const std::optional<Date> day =
        cell >= 0 ? ParseIsoDate(State().DayCells[cell].DateText) : std::nullopt;
    m_calendar.OnMouseUp(button, ShiftState(wParam), x, y);
    if (day) {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(m_hWnd, &screen);
      ShowOwnDayMenu(*day, screen);
    }
  }
}

void CalendarWindow::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  // The wheel reports the pointer in screen coordinates.
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hWnd, &point);
  m_calendar.OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), FaceUnitAt(point.x, m_dpi),
                          FaceUnitAt(point.y, m_dpi));
}

void CalendarWindow::OnPaint() {
  PaintScope paint(m_hWnd);
  const RECT& area = paint.Area();
  BitBlt(paint.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
         m_surface->Dc(), area.left, area.top, SRCCOPY);
}

}  // namespace kelvo
