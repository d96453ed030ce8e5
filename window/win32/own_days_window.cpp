// The calendar window's part in the user's own days: the days file at
// start-up, the cell menu, the dialogs, the export and the reminders.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "desktop/settings_rules.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/settings.h"
#include "desktop/win32/unique_handle.h"
#include "net/win32/whole_file.h"
#include "window/own_days_view.h"
#include "window/win32/calendar_window.h"
#include "window/win32/local_clock.h"
#include "window/win32/own_day_dialogs.h"

namespace kelvo {
namespace {

constexpr const char* kRemindedUntilValue = "RemindedUntil";
constexpr int kExportYears = 20;

using OwnedMenu = UniqueHandle<HMENU, DestroyMenu>;

// The user's own value only, and only as text: any other type counts as none.
std::optional<int64_t> ReadRemindedUntil() {
  char text[32] = {};
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kRemindedUntilValue, RRF_RT_REG_SZ, nullptr,
                   text, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return ParseRemindedUntil(text);
}

std::vector<OwnDay>::iterator WithId(std::vector<OwnDay>& days, const std::string& id) {
  return std::find_if(days.begin(), days.end(), [&](const OwnDay& day) { return day.Id == id; });
}

// DTSTAMP: the UTC time of the export.
std::string ExportStamp() {
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  char stamp[20] = {};
  std::snprintf(stamp, sizeof stamp, "%04u%02u%02uT%02u%02u%02uZ", utc.wYear, utc.wMonth, utc.wDay,
                utc.wHour, utc.wMinute, utc.wSecond);
  return stamp;
}

}  // namespace

void CalendarWindow::LoadOwnDays() {
  OwnDaysStore::Loaded loaded = m_ownDaysStore.Load();
  State().OwnDays = std::move(loaded.Days);
  if (!loaded.Notice.empty()) SayNotice(loaded.Notice);
}

void CalendarWindow::SayNotice(const std::string& notice) {
  m_reminderDay.reset();
  NotifyIcon().ShowBubble(Caption, notice, NIIF_WARNING);
}

bool CalendarWindow::ChangeOwnDays(const OwnDaysStore::Change& change) {
  OwnDaysStore::Saved saved = m_ownDaysStore.Save(State().OwnDays, change);
  m_calendar.SetOwnDays(std::move(saved.Days));
  std::string notices;
  for (const std::string& notice : saved.Notices) notices += (notices.empty() ? "" : "\n") + notice;
  if (!notices.empty()) SayNotice(notices);
  RemindDue();  // the next reminder may be another one now
  return saved.Stored;
}

void CalendarWindow::ShowOwnDayMenu(Date date, POINT screen) {
  const OwnedMenu menu(CreatePopupMenu());
  for (const OwnDayMenuItem& item : OwnDayCellMenu(State().OwnDays, date))
    AppendMenuW(menu.Get(), MF_STRING, item.Command, ToWide(item.Text).c_str());
  // Foreground first, or the menu would not close on a click elsewhere.
  SetForegroundWindow(m_hWnd);
  const auto command = static_cast<uint32_t>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x, screen.y,
                     0, m_hWnd, nullptr));
  const OwnDayChoice choice = ClassifyOwnDayCommand(command, State().OwnDays.size());
  switch (choice.Action) {
    case OwnDayAction::Add:
      return OpenOwnDayDialog(m_hWnd, std::nullopt, date);
    case OwnDayAction::Edit:
      return OpenOwnDayDialog(m_hWnd, choice.Index, std::nullopt);
    case OwnDayAction::Delete: {
      const std::string id = State().OwnDays[choice.Index].Id;
      ChangeOwnDays([&](std::vector<OwnDay>& days) {
        if (auto found = WithId(days, id); found != days.end()) days.erase(found);
      });
      return;
    }
    case OwnDayAction::None:
      return;
  }
}

void CalendarWindow::OpenOwnDayDialog(HWND owner, std::optional<size_t> index,
                                      std::optional<Date> cellDate) {
  const std::vector<OwnDay>& days = State().OwnDays;
  if (index && *index >= days.size()) return;
  const std::string id = index ? days[*index].Id : NewOwnDayId(days);
  const Date from = cellDate.value_or(Today());
  OwnDayDialogRequest request;
  request.Form = index ? FormForDay(days[*index]) : FormForDate(from, true);
  if (!index) request.CellDate = from;
  request.Accept = [&](const OwnDayForm& form) -> std::string {
    if (!index && State().OwnDays.size() >= kMaxOwnDays)
      return "最多可记 " + std::to_string(kMaxOwnDays) + " 个日子";
    FormOutcome outcome = OwnDayFromForm(form, id);
    if (!outcome.Fault.empty()) return outcome.Fault;
    ChangeOwnDays([&](std::vector<OwnDay>& all) {
      OwnDay day = outcome.Day;
      const auto found = WithId(all, day.Id);
      if (index && found != all.end()) {
        *found = std::move(day);
        return;
      }
      // Read again from a file another copy saved, the id may be taken.
      if (found != all.end()) day.Id = NewOwnDayId(all);
      all.push_back(std::move(day));
    });
    return {};
  };
  RunOwnDayDialog(owner, m_resources, request);
}

void CalendarWindow::ShowOwnDaysList() {
  OwnDaysListActions actions;
  actions.Rows = [this] { return OwnDayListRows(State().OwnDays, Today()); };
  actions.Add = [this](HWND dialog) { OpenOwnDayDialog(dialog, std::nullopt, std::nullopt); };
  actions.Edit = [this](HWND dialog, size_t index) {
    OpenOwnDayDialog(dialog, index, std::nullopt);
  };
  actions.Delete = [this](HWND, size_t index) {
    const std::string id = State().OwnDays.at(index).Id;
    ChangeOwnDays([&](std::vector<OwnDay>& days) {
      if (auto found = WithId(days, id); found != days.end()) days.erase(found);
    });
  };
  actions.Export = [this](HWND dialog) { ExportOwnDays(dialog); };
  RunOwnDaysListDialog(m_hWnd, m_resources, actions);
}

void CalendarWindow::ExportOwnDays(HWND owner) {
  const std::optional<std::wstring> path = AskExportPath(owner);
  if (!path) return;
  const std::string calendar =
      WriteDaysICalendar(State().OwnDays, Today().Year, kExportYears, ExportStamp());
  const bool written = WriteWhole(*path, calendar);
  const std::string text =
      written ? "已写入 " + FromWide(*path)
              : "未能写入 " + FromWide(*path) + "：" + SystemErrorText(GetLastError());
  MessageBoxW(owner, ToWide(text).c_str(), ToWide(Caption).c_str(),
              MB_OK | (written ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void CalendarWindow::RemindDue() {
  if (!m_hWnd) return;
  const LocalReading now = LocalReadingAt(SystemNowMs());
  const int64_t nowMinute = LocalMinuteOf(now);
  // A first start has nothing missed; a clock set back shows nothing twice.
  const int64_t reminded = ReadRemindedUntil().value_or(nowMinute);
  if (reminded < nowMinute) {
    // One shown late (missed while the machine was off) counts the days
    // left from today.
    const std::vector<DueReminder> due = RemindersDue(State().OwnDays, reminded, nowMinute);
    if (!due.empty()) {
      const ReminderBalloon balloon = BalloonFor(State().OwnDays, due, now.Day);
      NotifyIcon().ShowBubble(balloon.Title, balloon.Text, NIIF_INFO);
      m_reminderDay = due.front().Falls.When;
    }
  }
  const int64_t until = std::max(reminded, nowMinute);
  WriteSettingText(kRemindedUntilValue, std::to_string(until));
  KillTimer(m_hWnd, ReminderTimerId);
  // One timer for the next reminder, so an idle calendar stays asleep; it
  // counts elapsed time, which sleep and a set clock put out of step with
  // the wall clock, so those moments arm it again (FollowLocalDate).
  if (const std::optional<int64_t> next = NextReminderDue(State().OwnDays, until))
    SetTimer(m_hWnd, ReminderTimerId, static_cast<UINT>(MsUntilLocalMinute(now, *next)), nullptr);
}

void CalendarWindow::OnBalloonClick() {
  if (!m_reminderDay) return;
  // Brought forward as a wake-up from outside would.
  SendMessageW(m_hWnd, WM_WAKEUP, 0, 0);
  m_calendar.ShowDate(*m_reminderDay);
}

}  // namespace kelvo
