#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "desktop/win32/kelvo_menu.h"
#include "desktop/win32/kelvo_notify_icon.h"
#include "desktop/win32/public_data.h"
#include "desktop/window_messages.h"
#include "net/win32/calendar_network_timer.h"
#include "window/calendar_wnd.h"
#include "window/face_placement.h"
#include "window/win32/face_accessible.h"
#include "window/win32/gdi_canvas.h"
#include "window/win32/gdi_objects.h"
#include "window/win32/own_days_store.h"
#include "window/win32/selector_list_box.h"

namespace kelvo {

// The calendar form on Win32: a borderless tool window of 538 x 370 face
// units (scaled to its monitor's DPI) at the top-right corner of the work
// area, or where the user dragged it. It owns the portable CalendarWnd (state,
// painting, mouse handling) and every platform object the window uses, and
// serves as its WindowHost.
//
// Message routing: the window class procedure finds the object and calls
// HandleMessage(), the window's own handling (paint, mouse, timer, close,
// destroy). A hook that wants to see messages first installs itself in
// front of the class procedure and passes on to it.
class CalendarWindow final : public WindowHost, public SubclassTarget {
 public:
  static constexpr int Width = 538;
  static constexpr int Height = 370;
  static constexpr const wchar_t* ClassName = L"KelvoCalendarWnd";
  static constexpr const char* Caption = "Kelvo日历";
  static constexpr const char* WakeUpProperty = "KelvoCalendar_WakeUp";
  static constexpr UINT_PTR Timer1Id = 1;
  static constexpr UINT Timer1Interval = 10;  // ms
  // Due once, at the next local midnight; re-armed whenever it fires and
  // whenever the clock, the time zone or a wake from sleep may have moved it.
  static constexpr UINT_PTR MidnightTimerId = 2;
  // Due once, at the next own-day reminder; armed again like the midnight
  // timer, and whenever the days change.
  static constexpr UINT_PTR ReminderTimerId = 3;
  // Posted when the displays, the work area or the DPI changed: the face
  // is placed again once the burst of notifications is over.
  static constexpr UINT PlaceAgainMessage = WM_APP + 20;
  // The stored place of a dragged face (see ParseFacePlace); empty when
  // the face lives at home.
  static constexpr const char* FacePlaceValue = "FacePlace";

  CalendarWindow();  // throws std::runtime_error when GDI cannot make the surface
  ~CalendarWindow() override;
  CalendarWindow(const CalendarWindow&) = delete;
  CalendarWindow& operator=(const CalendarWindow&) = delete;

  // Before the window exists: registers the common-controls classes.
  void OnInitialize();
  // Creates the (still hidden) window; Timer1 runs from here on.
  void Create(HINSTANCE instance);
  // The start-up sequence; throws std::runtime_error when a bitmap resource
  // is missing. The caller shows the window afterwards.
  void OnLoad();
  void Show();
  // The shutdown steps, then the window is destroyed, which ends the
  // message loop. Safe to call once the window is gone.
  void Unload();

  // After an accepted update failed: the program creates and loads the
  // calendar window again once the current message loop has ended.
  static void RequestComeBack();
  static bool TakeComeBackRequest();

  HWND Handle() const { return m_hWnd; }
  CalendarWnd& Calendar() { return m_calendar; }
  CalendarState& State() { return m_calendar.State; }
  GdiCanvas& RetainedSurface() { return *m_surface; }
  // The DPI the face is drawn at; face units times Dpi() / 96 are pixels.
  int Dpi() const { return m_dpi; }
  // Rebuilds what depends on the DPI: the surface and its fonts, the
  // pictures, the window size and an open list; then repaints.
  void ApplyDpi(int dpi);
  // Places the face by the placement rule: home unless dragged.
  void PlaceFace();
  // "回到右上角": home, and the drag forgotten.
  void GoHome();
  // Takes the normal or the high-contrast palette as the system now says,
  // repainting when it changed.
  void FollowHighContrast();
  // Created on first use.
  CKelvoMenu& TrayMenu();
  CKelvoNotifyIcon& NotifyIcon();
  HICON TrayIcon() const { return m_trayIcon; }
  HCURSOR HandCursor() const { return m_handCursor; }
  UINT TaskbarCreatedMsg() const { return m_taskbarCreatedMsg; }
  HBITMAP HidePicture() const { return m_hidePicture.Get(); }
  HBITMAP ArrowStrip() const { return m_arrowStrip.Get(); }

  // The window's own message handling, what the class procedure runs.
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Sees every message through the hook before the class procedure: time
  // change, cursor, tray clicks, wake-up, mouse leave, menu commands and the
  // re-created taskbar (desktop/win32/window_proc.cpp).
  LRESULT WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  const SubclassData& Hook() const { return m_subclassData; }
  // Timer1 on or off.
  void SetTimer1Enabled(bool enabled);
  // The face follows a new local date (see CalendarWnd::OnDateChange), or,
  // when the clock was set, goes back to today's month; then the midnight
  // timer is armed anew.
  void FollowLocalDate(bool clockSet);

  // The user's own days (own_days_window.cpp). Applies `change` to them,
  // stores them and shows the face with them; what the store has to say
  // shows in a tray balloon. True when stored.
  bool ChangeOwnDays(const OwnDaysStore::Change& change);
  // A day cell's right-click menu for `date`, at a screen point.
  void ShowOwnDayMenu(Date date, POINT screen);
  // The list dialog of the tray menu's "纪念日…".
  void ShowOwnDaysList();
  // The add/edit dialog: day `index`, or a new one filled from `cellDate`.
  void OpenOwnDayDialog(HWND owner, std::optional<size_t> index, std::optional<Date> cellDate);
  // Shows each reminder due since the stored reminded-up-to time (one
  // missed while the program was not running included), stores now as
  // reminded and arms the reminder timer for the next.
  void RemindDue();
  // A click on a reminder balloon: the face at that reminder's day.
  void OnBalloonClick();

  // WindowHost
  Canvas& Surface() override { return *m_surface; }
  void SurfaceChanged() override;
  Date Today() override;
  bool BeginWindowDrag() override;
  void TrackMouseLeave() override;
  void OpenUrl(const std::string& url) override;
  void HideWindow() override;
  void SetMenuItemText(int id, const std::string& text) override;
  void ShowList(SelectorList list, const std::vector<std::string>& items, int selected) override;
  void CloseList() override;

 private:
  static LRESULT CALLBACK ClassWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  void OnUnload();
  // Start-up and shutdown steps that belong to later additions.
  void HookWindowProcedure();
  void UnhookWindowProcedure();
  void StartAnnouncementFetch();
  void LoadStoredHolidays();
  void LoadStoredSettings();
  // Paces the network work: armed for the next network step, and ticked at
  // once when the announcement list arrives.
  void Timer1_Timer();
  void ArmMidnightTimer();

  void LoadOwnDays();
  void SayNotice(const std::string& notice);
  void ExportOwnDays(HWND owner);

  void LoadPictures();
  void RememberPlace();
  void StorePlace(const std::string& text);
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);
  void FillTrayMenu();
  void OnMouseButton(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void DestroyOwnerWindow();

  HWND m_hWnd = nullptr;
  // Hidden owner of the window: an owned window gets no taskbar button from
  // any shell, even one that ignores WS_EX_TOOLWINDOW.
  HWND m_ownerWindow = nullptr;
  HINSTANCE m_resources = nullptr;  // the module holding bitmaps 101 and 102
  bool m_loaded = false;
  int m_dpi = 96;
  // Made anew for each DPI.
  std::unique_ptr<GdiCanvas> m_surface;
  // Where the user dragged the face; none while it lives at home.
  std::optional<RememberedPlace> m_place;
  bool m_placeNoticeSaid = false;
  CalendarWnd m_calendar;
  // Timer1's handler: the update check, the announcement fetch and the
  // publication of the list; after m_calendar, whose state it paces.
  CalendarNetworkTimer m_networkTimer;
  Bitmap m_hidePicture;
  Bitmap m_arrowStrip;
  HICON m_trayIcon = nullptr;
  HCURSOR m_handCursor = nullptr;
  UINT m_taskbarCreatedMsg = 0;
  TRACKMOUSEEVENT m_leaveTrack{};
  // Start-up step 2 to shutdown step 3: the hook routing messages to WindowProc.
  SubclassData m_subclassData;
  OwnDaysStore m_ownDaysStore;
  // The day of the last reminder balloon, while it is the balloon shown.
  std::optional<Date> m_reminderDay;
  bool m_rightPressClosedList = false;
  // The year or month list while one is open.
  SelectorListBox m_listBox;
  // What screen readers read of the face.
  FaceAccessibility m_accessibility;
  // Declared last: released first, so the tray icon leaves while the rest
  // of the window is still intact.
  std::optional<CKelvoMenu> m_trayMenu;
  std::optional<CKelvoNotifyIcon> m_notifyIcon;
};

}  // namespace kelvo
