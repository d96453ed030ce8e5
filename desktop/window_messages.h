#pragma once
#include <cstdint>
#include <string_view>

namespace kelvo {

// The messages the calendar's window procedure acts on, by number, so the
// decisions below need no platform headers.
inline constexpr uint32_t kTimeChangeMessage = 0x001E;     // WM_TIMECHANGE
inline constexpr uint32_t kSetCursorMessage = 0x0020;      // WM_SETCURSOR
inline constexpr uint32_t kCommandMessage = 0x0111;        // WM_COMMAND
inline constexpr uint32_t kMouseLeaveMessage = 0x02A3;     // WM_MOUSELEAVE
inline constexpr uint32_t WM_TRAYNOTIFY = 1801;            // the tray icon's callback
inline constexpr uint32_t WM_WAKEUP = 1912;                // sent from outside only
inline constexpr uint32_t kLeftButtonUpMessage = 0x0202;   // WM_LBUTTONUP
inline constexpr uint32_t kRightButtonUpMessage = 0x0205;  // WM_RBUTTONUP
inline constexpr uint32_t kBalloonClickMessage = 0x0405;   // NIN_BALLOONUSERCLICK
inline constexpr uint32_t kSettingChangeMessage = 0x001A;  // WM_SETTINGCHANGE
inline constexpr uint32_t kPowerEventMessage = 0x0218;     // WM_POWERBROADCAST
inline constexpr uint64_t kResumeAutomatic = 0x0012;       // PBT_APMRESUMEAUTOMATIC

// Tray menu commands.
inline constexpr uint32_t IDM_SHOWHIDE = 100;
inline constexpr uint32_t IDM_TRANSPARENT = 101;
inline constexpr uint32_t IDM_AUTORUN = 102;
inline constexpr uint32_t IDM_EXIT = 103;
inline constexpr uint32_t IDM_OWNDAYS = 110;  // "纪念日…"
inline constexpr uint32_t IDM_HOME = 111;     // back to the top-right corner

// Texts of the show/hide item.
inline constexpr std::string_view kShowCalendarText = "显示日历";
inline constexpr std::string_view kHideCalendarText = "隐藏日历";

// What the window procedure does with a message; the first match in this
// order decides.
enum class WindowMessage {
  TimeChanged,     // show today's month again
  SetCursor,       // hand cursor over the buttons and links
  TrayNotify,      // a mouse message over the tray icon
  WakeUp,          // bring the calendar forward
  MouseLeft,       // nothing hovered any more
  Command,         // a tray menu command
  TaskbarCreated,  // the shell restarted: put the icon back
  Other,           // only passed on
};

// taskbarCreatedMsg is the number registered for "TaskBarCreated"; 0 (the
// registration failed) matches nothing, so WM_NULL does not re-add the icon.
WindowMessage ClassifyWindowMessage(uint32_t uMsg, uint32_t taskbarCreatedMsg);

// A power or setting broadcast after which the local date may differ while
// no WM_TIMECHANGE comes: the machine woke from sleep or hibernation (sent
// on every resume, whether or not a user is there), or the time zone or the
// regional settings changed (lParam names the area, "TimeZone" or "intl").
bool MovesLocalDate(uint32_t uMsg, uint64_t wParam, std::string_view settingArea);

enum class TrayClick { LeftUp, RightUp, BalloonClick, Other };
// lParam of the tray callback carries the mouse message; compared whole.
TrayClick ClassifyTrayClick(uint64_t lParam);

enum class MenuCommand { ShowHide, Transparent, AutoRun, Exit, OwnDays, Home, None };
// wParam of WM_COMMAND compared as a whole value: a notification code in
// the high word makes it no tray command.
MenuCommand ClassifyMenuCommand(uint64_t wParam);

// The show/hide item names what choosing it will do.
constexpr std::string_view ShowHideText(bool calendarVisible) {
  return calendarVisible ? kHideCalendarText : kShowCalendarText;
}

}  // namespace kelvo
