#pragma once
// The user's own days: lunar and Gregorian birthdays and anniversaries kept
// in %APPDATA%\KelvoCalendar\days.txt.
//
//   KELVO-DAYS 1
//   a1 农历 08-15 1956 生日 0,3 09:00 妈妈
//   b2 农历 闰04-30 - 纪念日 0 08:30 外公忌日
//   c3 公历 02-29 2008 纪念日 - - 结婚纪念日
//
// UTF-8 without a BOM, CR LF or LF, at most kMaxDaysFileBytes and
// kMaxOwnDays days. Fields: id ([0-9a-z]{1,12}, unique), calendar (农历 or
// 公历), date (MM-DD; 闰MM-DD for a lunar leap month; a Gregorian day that
// exists in some year), origin year (1800..2050, or -), kind (生日 or
// 纪念日), reminders (- or a comma list of days before, 0..30, no repeats),
// time (HH:MM; - exactly when there are no reminders), name (1..32
// characters, no control character, no leading or trailing space; may hold
// spaces). A file that breaks any rule is refused whole.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/date.h"
#include "calendar/day_cell.h"

namespace kelvo {

inline constexpr size_t kMaxDaysFileBytes = 256 * 1024;
inline constexpr size_t kMaxOwnDays = 1000;

enum class OwnDayCalendar { Lunar, Gregorian };
enum class OwnDayKind { Birthday, Anniversary };

struct OwnDay {
  std::string Id;
  OwnDayCalendar Calendar = OwnDayCalendar::Lunar;
  int16_t Month = 1;       // 1..12
  bool LeapMonth = false;  // lunar only: the leap month that follows Month
  int16_t Day = 1;         // 1..30 (lunar) or a day the Gregorian month has in some year
  int16_t Origin = 0;      // the year it began (lunar year for 农历); 0 = not given
  OwnDayKind Kind = OwnDayKind::Birthday;
  std::vector<int16_t> RemindDaysBefore;  // as written; empty = no reminder
  int16_t RemindMinute = -1;              // minutes after local midnight; -1 when no reminder
  std::string Name;                       // UTF-8
  friend bool operator==(const OwnDay&, const OwnDay&) = default;
};

struct DaysParseResult {
  std::vector<OwnDay> Days;  // file order
  std::string Fault;  // one line, e.g. "第3行：公历4月没有31日"; empty when accepted
  bool Accepted() const { return Fault.empty(); }
};

// One parser for the file, wherever it is read (the program, kelvo-month).
DaysParseResult ParseDaysFile(std::string_view bytes);
// The file's bytes for `days` (LF line ends); ParseDaysFile reads them back
// equal. The days must each pass ValidateOwnDay.
std::string FormatDaysFile(const std::vector<OwnDay>& days);
// Why `day` cannot be kept, in one line (for the dialog); empty when it can.
std::string ValidateOwnDay(const OwnDay& day);
// A fresh id for a new day, unique among `days`.
std::string NewOwnDayId(const std::vector<OwnDay>& days);

// The engine's span: occurrences are found only in 1950..2050.
inline constexpr int16_t kFirstOwnDayYear = 1950;
inline constexpr int16_t kLastOwnDayYear = 2050;

// When `day` falls in its calendar's year `year` (the lunar year for 农历,
// the Gregorian year for 公历); empty outside the span.
std::optional<Date> OccurrenceInYear(const OwnDay& day, int16_t year);

struct Occurrence {
  Date When;
  int16_t Year = 0;   // the calendar's year of this occurrence (lunar for 农历)
  int16_t Count = 0;  // Year - Origin; 0 when not shown (no origin, or below 1)
};
// Every occurrence of `day` on Gregorian dates first..last (inclusive),
// ascending. Looks at lunar years Y-1 and Y for each Gregorian year Y.
std::vector<Occurrence> OccurrencesBetween(const OwnDay& day, Date first, Date last);
// The first occurrence on or after `from`; empty past 2050.
std::optional<Occurrence> NextOccurrence(const OwnDay& day, Date from);

// "农历八月十五", "农历闰四月三十", "公历2月29日".
std::string RuleInWords(const OwnDay& day);
// "妈妈生日 · 70岁", "结婚纪念日 · 16周年"; the name alone without a count.
// A birthday's name gets "生日" appended unless it already ends with it.
std::string OwnDayPanelLine(const OwnDay& day, const Occurrence& occurrence);

// The days falling in one shown month (the grid's 42 cells' dates), found
// once per month build without walking the lunar table from its start for
// every day.
struct OwnDayHit {
  Date When;
  size_t Index;  // into the days vector
  Occurrence Falls;
};
std::vector<OwnDayHit> OwnDaysBetween(const std::vector<OwnDay>& days, Date first, Date last);
// Fills OwnDayNames and OwnDayLines of every cell of a built month from
// `days` (clearing them first); cells are matched by their DateText.
void MarkOwnDays(const std::vector<OwnDay>& days, std::vector<DayCell>& cells);

// Reminders. Local wall-clock time is counted in minutes since 1970-01-01
// 00:00 local time (DaysFromCivil(date) * 1440 + minute of the day).
struct DueReminder {
  size_t Index = 0;        // into the days vector
  Occurrence Falls;        // the occurrence it reminds of
  int16_t DaysBefore = 0;  // 0 = on the day
  int64_t DueMinute = 0;
};
// The reminders due in (afterMinute, upToMinute], oldest first, leaving out
// those whose occurrence lies before the day of upToMinute (a reminder
// missed while the machine was off still shows while its day is today or
// ahead).
std::vector<DueReminder> RemindersDue(const std::vector<OwnDay>& days, int64_t afterMinute,
                                      int64_t upToMinute);
// The first due minute after `afterMinute`; empty when none is left before 2051.
std::optional<int64_t> NextReminderDue(const std::vector<OwnDay>& days, int64_t afterMinute);
// The balloon's text: "2025年10月7日 农历八月十六 · 今天" or "… · 还有3天",
// the days counted from `today` (a reminder missed while the machine was
// off is shown later, and counts from the day it is shown).
std::string ReminderText(const DueReminder& reminder, Date today);
// One balloon for every reminder due at once (a later balloon hides an
// earlier one), counted from `today`: a single one titled with its day's
// name; several titled "name 等N项", a "name：text" line each.
struct ReminderBalloon {
  std::string Title;
  std::string Text;
};
ReminderBalloon BalloonFor(const std::vector<OwnDay>& days, const std::vector<DueReminder>& due,
                           Date today);

// RFC 5545 iCalendar for `days` (days_icalendar.cpp): one all-day VEVENT per
// occurrence in the Gregorian years firstYear .. firstYear + yearCount - 1
// (not past 2050), UID from the day's id and the occurrence's year, a
// VALARM per reminder, CR LF, folded at 75 octets between UTF-8 characters.
// SUMMARY is the panel line. `stamp` is the DTSTAMP value (e.g.
// "20261207T083000Z").
std::string WriteDaysICalendar(const std::vector<OwnDay>& days, int16_t firstYear, int yearCount,
                               std::string_view stamp);

}  // namespace kelvo
