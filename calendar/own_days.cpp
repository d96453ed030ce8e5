// When the user's own days fall, how they read, and when they remind.
#include "calendar/own_days.h"

#include <algorithm>
#include <cstdlib>

#include "calendar/civil_days.h"
#include "calendar/lunar.h"
#include "calendar/tables.h"

namespace kelvo {
namespace {

constexpr int64_t kMinutesPerDay = 24 * 60;
constexpr Date kFirstSpanDay{kFirstOwnDayYear, 1, 1};
constexpr Date kLastSpanDay{kLastOwnDayYear, 12, 31};

int64_t FloorDiv(int64_t value, int64_t divisor) {
  const int64_t q = value / divisor;
  return q * divisor > value ? q - 1 : q;
}

Date DayOfMinute(int64_t minute) {
  const int64_t day =
      std::clamp<int64_t>(FloorDiv(minute, kMinutesPerDay), DaysFromCivil(kFirstSpanDay) - 1,
                          DaysFromCivil(kLastSpanDay) + 1);
  return CivilFromDays(static_cast<int32_t>(day));
}

int64_t DueMinuteOf(const OwnDay& day, const Occurrence& falls, int16_t before) {
  return (static_cast<int64_t>(DaysFromCivil(falls.When)) - before) * kMinutesPerDay +
         day.RemindMinute;
}

void AppendLunarMonthDay(int16_t signedMonth, int16_t dayOfMonth, std::string& out) {
  if (signedMonth < 0) out.append("闰");
  out.append(LunarMonthNames[std::abs(signedMonth) - 1]).append("月");
  out.append(LunarDayNames[dayOfMonth - 1]);
}

}  // namespace

std::optional<Date> OccurrenceInYear(const OwnDay& day, int16_t year) {
  std::optional<Date> when;
  if (day.Calendar == OwnDayCalendar::Gregorian) {
    if (year < kFirstOwnDayYear || year > kLastOwnDayYear) return std::nullopt;
    const int16_t last = DaysInGregorianMonth(year, day.Month);
    when = Date{year, day.Month, std::min(day.Day, last)};  // 02-29 is 02-28 in a common year
  } else {
    // A leap-month day keeps to the ordinary month in a year without that
    // leap month; a 30th keeps to the last day of a 29-day month.
    std::optional<LunarMonthSpan> month;
    if (day.LeapMonth) month = FindLunarMonth(year, static_cast<int16_t>(-day.Month));
    if (!month) month = FindLunarMonth(year, day.Month);
    if (!month) return std::nullopt;
    when = AddDays(month->First, std::min(day.Day, month->Length) - 1);
  }
  if (*when < kFirstSpanDay || *when > kLastSpanDay) return std::nullopt;
  return when;
}

namespace {

// Calls visit(occurrence) for each occurrence on first..last, ascending,
// without collecting them: a month build visits every day of the file.
template <typename Visit>
void VisitOccurrences(const OwnDay& day, Date first, Date last, Visit&& visit) {
  first = std::max(first, kFirstSpanDay);
  last = std::min(last, kLastSpanDay);
  // A lunar year's 冬月 and 腊月 reach into the next Gregorian year.
  const int lead = day.Calendar == OwnDayCalendar::Lunar ? 1 : 0;
  for (int year = first.Year - lead; first <= last && year <= last.Year; ++year) {
    const std::optional<Date> when = OccurrenceInYear(day, static_cast<int16_t>(year));
    if (!when || *when < first || *when > last) continue;
    const int count = day.Origin ? year - day.Origin : 0;
    visit(Occurrence{*when, static_cast<int16_t>(year),
                     static_cast<int16_t>(count >= 1 ? count : 0)});
  }
}

}  // namespace

std::vector<Occurrence> OccurrencesBetween(const OwnDay& day, Date first, Date last) {
  std::vector<Occurrence> found;
  VisitOccurrences(day, first, last, [&](const Occurrence& o) { found.push_back(o); });
  return found;
}

std::optional<Occurrence> NextOccurrence(const OwnDay& day, Date from) {
  if (from > kLastSpanDay) return std::nullopt;
  from = std::max(from, kFirstSpanDay);
  // Two years always hold the next one: a day falls at least once a year.
  const std::vector<Occurrence> found =
      OccurrencesBetween(day, from, Date{static_cast<int16_t>(from.Year + 2), 12, 31});
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::string RuleInWords(const OwnDay& day) {
  if (day.Calendar == OwnDayCalendar::Gregorian)
    return "公历" + std::to_string(day.Month) + "月" + std::to_string(day.Day) + "日";
  std::string words = "农历";
  AppendLunarMonthDay(static_cast<int16_t>(day.LeapMonth ? -day.Month : day.Month), day.Day, words);
  return words;
}

std::string OwnDayPanelLine(const OwnDay& day, const Occurrence& occurrence) {
  const bool birthday = day.Kind == OwnDayKind::Birthday;
  std::string line = day.Name;
  if (birthday && !line.ends_with("生日")) line.append("生日");
  if (occurrence.Count >= 1)
    line.append(" · ").append(std::to_string(occurrence.Count)).append(birthday ? "岁" : "周年");
  return line;
}

std::vector<OwnDayHit> OwnDaysBetween(const std::vector<OwnDay>& days, Date first, Date last) {
  std::vector<OwnDayHit> hits;
  for (size_t index = 0; index < days.size(); ++index) {
    VisitOccurrences(days[index], first, last, [&](const Occurrence& falls) {
      hits.push_back({falls.When, index, falls});
    });
  }
  std::stable_sort(hits.begin(), hits.end(),
                   [](const OwnDayHit& a, const OwnDayHit& b) { return a.When < b.When; });
  return hits;
}

void MarkOwnDays(const std::vector<OwnDay>& days, std::vector<DayCell>& cells) {
  for (DayCell& cell : cells) {
    cell.OwnDayNames.clear();
    cell.OwnDayLines.clear();
  }
  if (cells.empty() || days.empty()) return;
  const std::optional<Date> first = ParseIsoDate(cells.front().DateText);
  const std::optional<Date> last = ParseIsoDate(cells.back().DateText);
  if (!first || !last) return;
  const int32_t firstNumber = DaysFromCivil(*first);
  char text[kIsoDateBufferSize];
  for (const OwnDayHit& hit : OwnDaysBetween(days, *first, *last)) {
    // The grid's cells are consecutive days; the text check keeps a grid
    // that is not from marking the wrong cell.
    const size_t at = static_cast<size_t>(DaysFromCivil(hit.When) - firstNumber);
    if (at >= cells.size()) continue;
    DayCell& cell = cells[at];
    if (cell.DateText != std::string_view(text, FormatIsoDate(hit.When, text))) continue;
    cell.OwnDayNames.push_back(days[hit.Index].Name);
    cell.OwnDayLines.push_back(OwnDayPanelLine(days[hit.Index], hit.Falls));
  }
}

std::vector<DueReminder> RemindersDue(const std::vector<OwnDay>& days, int64_t afterMinute,
                                      int64_t upToMinute) {
  std::vector<DueReminder> due;
  if (upToMinute <= afterMinute) return due;
  // Only occurrences from the day of upToMinute count, and none more than
  // the longest lead after it can be due yet.
  const Date today = DayOfMinute(upToMinute);
  const Date horizon = AddDays(today, 30);
  for (size_t index = 0; index < days.size(); ++index) {
    const OwnDay& day = days[index];
    if (day.RemindDaysBefore.empty()) continue;
    VisitOccurrences(day, today, horizon, [&](const Occurrence& falls) {
      for (const int16_t before : day.RemindDaysBefore) {
        const int64_t minute = DueMinuteOf(day, falls, before);
        if (minute > afterMinute && minute <= upToMinute)
          due.push_back({index, falls, before, minute});
      }
    });
  }
  std::stable_sort(due.begin(), due.end(), [](const DueReminder& a, const DueReminder& b) {
    return a.DueMinute < b.DueMinute;
  });
  return due;
}

std::optional<int64_t> NextReminderDue(const std::vector<OwnDay>& days, int64_t afterMinute) {
  std::optional<int64_t> next;
  const Date from = DayOfMinute(afterMinute);
  // The next occurrence after a lead of up to 30 days lies within two years.
  const Date until = AddDays(from, 2 * 366 + 31);
  for (const OwnDay& day : days) {
    if (day.RemindDaysBefore.empty()) continue;
    VisitOccurrences(day, from, until, [&](const Occurrence& falls) {
      for (const int16_t before : day.RemindDaysBefore) {
        const int64_t minute = DueMinuteOf(day, falls, before);
        if (minute > afterMinute && (!next || minute < *next)) next = minute;
      }
    });
  }
  return next;
}

std::string ReminderText(const DueReminder& reminder, Date today) {
  const Date when = reminder.Falls.When;
  std::string text = std::to_string(when.Year) + "年" + std::to_string(when.Month) + "月" +
                     std::to_string(when.Day) + "日";
  if (const std::optional<LunarDate> lunar = GregorianToLunar(when.Year, when.Month, when.Day)) {
    text.append(" 农历");
    AppendLunarMonthDay(lunar->Month, lunar->Day, text);
  }
  const int32_t left = DaysFromCivil(when) - DaysFromCivil(today);
  text.append(" · ");
  if (left <= 0) return text.append("今天");
  return text.append("还有").append(std::to_string(left)).append("天");
}

ReminderBalloon BalloonFor(const std::vector<OwnDay>& days, const std::vector<DueReminder>& due,
                           Date today) {
  if (due.empty()) return {};
  const std::string& first = days[due.front().Index].Name;
  if (due.size() == 1) return {first, ReminderText(due.front(), today)};
  ReminderBalloon balloon{first + " 等" + std::to_string(due.size()) + "项", {}};
  for (const DueReminder& reminder : due) {
    if (!balloon.Text.empty()) balloon.Text += '\n';
    balloon.Text += days[reminder.Index].Name + "：" + ReminderText(reminder, today);
  }
  return balloon;
}

}  // namespace kelvo
