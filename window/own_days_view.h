#pragma once
// What the face, its menus and dialogs show of the user's own days, decided
// without the platform: the panel line, the day cell's menu, the list
// dialog's rows, the add/edit form and the reminder clock.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date.h"
#include "calendar/own_days.h"
#include "window/local_midnight.h"

namespace kelvo {

// The date panel's one own-day line: the first of `lines` alone, or cut to
// leave room for "等N项" (N counting them all) when there are more.
std::string OwnDaysPanelText(const std::vector<std::string>& lines);

// The day cell's right-click menu: add, then edit and delete per day there.
inline constexpr uint32_t kAddOwnDayCommand = 20000;
inline constexpr uint32_t kEditOwnDayCommand = 21000;    // + index into the days
inline constexpr uint32_t kDeleteOwnDayCommand = 22000;  // + index into the days
struct OwnDayMenuItem {
  uint32_t Command = 0;
  std::string Text;
};
std::vector<OwnDayMenuItem> OwnDayCellMenu(const std::vector<OwnDay>& days, Date date);

enum class OwnDayAction { None, Add, Edit, Delete };
struct OwnDayChoice {
  OwnDayAction Action = OwnDayAction::None;
  size_t Index = 0;
};
// A command of that menu; None for anything else or an index past the days.
OwnDayChoice ClassifyOwnDayCommand(uint32_t command, size_t dayCount);

// One row of the list dialog, in the order of the next occurrence (days
// with none left come last, by name).
struct OwnDayListRow {
  size_t Index = 0;
  std::string Name;
  std::string Rule;      // "农历八月十五"
  std::string Next;      // "2026-09-25", empty when none is left
  std::string DaysLeft;  // "今天", "还有3天", empty when none is left
};
std::vector<OwnDayListRow> OwnDayListRows(const std::vector<OwnDay>& days, Date today);

// The add/edit dialog's fields as the user sees them.
struct OwnDayForm {
  std::string Name;
  bool Lunar = true;
  int Month = 1;  // 1..12
  bool Leap = false;
  int Day = 1;
  std::string OriginText;  // empty when not given
  bool Birthday = true;
  bool RemindOnTheDay = true;
  bool RemindOneDay = false;
  bool RemindThreeDays = false;
  bool RemindSevenDays = false;
  std::string TimeText = "09:00";
  // Days before that the form has no box for (from an edited file); kept.
  std::vector<int16_t> OtherRemindDays;
};
inline constexpr int kReminderChoices[] = {0, 1, 3, 7};
// Filled from a day cell: its lunar date when `lunar`, else its own date.
OwnDayForm FormForDate(Date date, bool lunar);
OwnDayForm FormForDay(const OwnDay& day);
struct FormOutcome {
  OwnDay Day;
  std::string Fault;  // one line; empty when the day can be kept
};
// The day the form describes, keeping `id`; refused with one line when it
// cannot be.
FormOutcome OwnDayFromForm(const OwnDayForm& form, std::string id);

// Local wall-clock minutes since 1970-01-01 00:00, as the reminders count.
int64_t LocalMinuteOf(const LocalReading& reading);
// Milliseconds from `now` until local minute `due` begins; at least 1 and
// at most a day, after which the timer looks again.
int64_t MsUntilLocalMinute(const LocalReading& now, int64_t due);
// The stored reminded-up-to minute; empty when the text is no such number.
std::optional<int64_t> ParseRemindedUntil(std::string_view text);

// The days file's neighbours and what the store says, in one line each.
// "days.txt.bad", then "days.txt.bad2", "days.txt.bad3" ...
std::string BadCopySuffix(int attempt);
std::string RefusedFileNotice(std::string_view path, std::string_view reason);
std::string KeptAsideNotice(std::string_view path);
std::string SaveFailedNotice(std::string_view path, std::string_view reason);
std::string ChangedOutsideNotice(std::string_view path);

}  // namespace kelvo
