#include "window/own_days_view.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "calendar/lunar.h"

namespace kelvo {
namespace {

// The panel is 127 pixels wide; 宋体 9 draws a Latin character in 6 pixels
// and a Chinese one in 12, so it holds 21 half-width units.
constexpr int kPanelUnits = 21;

// Half-width units of one UTF-8 character starting with `lead`.
int UnitsOf(unsigned char lead) {
  return lead < 0x80 ? 1 : 2;
}

bool StartsCharacter(unsigned char byte) {
  return (byte & 0xC0) != 0x80;
}

int UnitsOf(std::string_view text) {
  int units = 0;
  for (const unsigned char byte : text)
    if (StartsCharacter(byte)) units += UnitsOf(byte);
  return units;
}

// `text` cut at a character boundary to at most `units`, with "…" (two
// units) when it had to be cut.
std::string CutToUnits(std::string_view text, int units) {
  if (UnitsOf(text) <= units) return std::string(text);
  int used = 0;
  size_t end = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!StartsCharacter(byte)) continue;
    if (used + UnitsOf(byte) > units - 2) break;
    used += UnitsOf(byte);
    end = i + 1;
    while (end < text.size() && !StartsCharacter(static_cast<unsigned char>(text[end]))) ++end;
  }
  return std::string(text.substr(0, end)) + "…";
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (fault != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::string TwoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::string OwnDaysPanelText(const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  if (lines.size() == 1) return CutToUnits(lines.front(), kPanelUnits);
  const std::string more = " 等" + std::to_string(lines.size()) + "项";
  const int room = kPanelUnits - UnitsOf(more);
  // Rather the whole name without its count of years than a cut count.
  const std::string_view first = lines.front();
  const std::string_view name = first.substr(0, first.find(" · "));
  return CutToUnits(UnitsOf(first) <= room ? first : name, room) + more;
}

std::vector<OwnDayMenuItem> OwnDayCellMenu(const std::vector<OwnDay>& days, Date date) {
  std::vector<OwnDayMenuItem> items{{kAddOwnDayCommand, "添加纪念日…"}};
  for (const OwnDayHit& hit : OwnDaysBetween(days, date, date)) {
    const std::string& name = days[hit.Index].Name;
    const auto index = static_cast<uint32_t>(hit.Index);
    items.push_back({kEditOwnDayCommand + index, "编辑「" + name + "」…"});
    items.push_back({kDeleteOwnDayCommand + index, "删除「" + name + "」"});
  }
  return items;
}

OwnDayChoice ClassifyOwnDayCommand(uint32_t command, size_t dayCount) {
  if (command == kAddOwnDayCommand) return {OwnDayAction::Add, 0};
  for (const auto& [base, action] : {std::pair{kEditOwnDayCommand, OwnDayAction::Edit},
                                     std::pair{kDeleteOwnDayCommand, OwnDayAction::Delete}}) {
    if (command >= base && command - base < dayCount && command - base < kMaxOwnDays)
      return {action, command - base};
  }
  return {};
}

std::vector<OwnDayListRow> OwnDayListRows(const std::vector<OwnDay>& days, Date today) {
  struct Keyed {
    std::optional<Date> next;
    OwnDayListRow row;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(days.size());
  for (size_t i = 0; i < days.size(); ++i) {
    Keyed entry{std::nullopt, {i, days[i].Name, RuleInWords(days[i]), {}, {}}};
    if (const std::optional<Occurrence> next = NextOccurrence(days[i], today)) {
      entry.next = next->When;
      entry.row.Next = FormatIsoDate(next->When);
      const int32_t left = DaysFromCivil(next->When) - DaysFromCivil(today);
      entry.row.DaysLeft = left == 0 ? "今天" : "还有" + std::to_string(left) + "天";
    }
    keyed.push_back(std::move(entry));
  }
  // Days with an occurrence first; an empty optional sorts before any date.
  std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
    return std::tuple(!a.next, a.next, a.row.Name) < std::tuple(!b.next, b.next, b.row.Name);
  });
  std::vector<OwnDayListRow> rows;
  rows.reserve(keyed.size());
  for (Keyed& entry : keyed) rows.push_back(std::move(entry.row));
  return rows;
}

OwnDayForm FormForDate(Date date, bool lunar) {
  OwnDayForm form;
  form.Lunar = lunar;
  form.Month = date.Month;
  form.Day = date.Day;
  if (lunar) {
    if (const std::optional<LunarDate> l = GregorianToLunar(date.Year, date.Month, date.Day)) {
      form.Month = l->Month < 0 ? -l->Month : l->Month;
      form.Leap = l->Month < 0;
      form.Day = l->Day;
    }
  }
  return form;
}

OwnDayForm FormForDay(const OwnDay& day) {
  OwnDayForm form;
  form.Name = day.Name;
  form.Lunar = day.Calendar == OwnDayCalendar::Lunar;
  form.Month = day.Month;
  form.Leap = day.LeapMonth;
  form.Day = day.Day;
  form.OriginText = day.Origin > 0 ? std::to_string(day.Origin) : "";
  form.Birthday = day.Kind == OwnDayKind::Birthday;
  const auto has = [&](int before) {
    return std::find(day.RemindDaysBefore.begin(), day.RemindDaysBefore.end(), before) !=
           day.RemindDaysBefore.end();
  };
  form.RemindOnTheDay = has(0);
  form.RemindOneDay = has(1);
  form.RemindThreeDays = has(3);
  form.RemindSevenDays = has(7);
  for (const int16_t before : day.RemindDaysBefore) {
    if (std::find(std::begin(kReminderChoices), std::end(kReminderChoices), before) ==
        std::end(kReminderChoices))
      form.OtherRemindDays.push_back(before);
  }
  if (day.RemindMinute >= 0)
    form.TimeText = TwoDigits(day.RemindMinute / 60) + ":" + TwoDigits(day.RemindMinute % 60);
  return form;
}

FormOutcome OwnDayFromForm(const OwnDayForm& form, std::string id) {
  FormOutcome out;
  OwnDay& day = out.Day;
  day.Id = std::move(id);
  day.Name = form.Name;
  day.Calendar = form.Lunar ? OwnDayCalendar::Lunar : OwnDayCalendar::Gregorian;
  day.Month = static_cast<int16_t>(form.Month);
  day.LeapMonth = form.Lunar && form.Leap;
  day.Day = static_cast<int16_t>(form.Day);
  day.Kind = form.Birthday ? OwnDayKind::Birthday : OwnDayKind::Anniversary;
  if (!form.OriginText.empty()) {
    const std::optional<int> origin = Number(form.OriginText);
    if (!origin || *origin < 1800 || *origin > kLastOwnDayYear) {
      out.Fault = "起始年份应为1800至2050年，或不填";
      return out;
    }
    day.Origin = static_cast<int16_t>(*origin);
  }
  const bool chosen[] = {form.RemindOnTheDay, form.RemindOneDay, form.RemindThreeDays,
                         form.RemindSevenDays};
  for (size_t i = 0; i < std::size(chosen); ++i)
    if (chosen[i]) day.RemindDaysBefore.push_back(static_cast<int16_t>(kReminderChoices[i]));
  day.RemindDaysBefore.insert(day.RemindDaysBefore.end(), form.OtherRemindDays.begin(),
                              form.OtherRemindDays.end());
  if (!day.RemindDaysBefore.empty()) {
    const std::string_view time = form.TimeText;
    const std::optional<int> hours = time.size() == 5 && time[2] == ':' ? Number(time.substr(0, 2))
                                                                        : std::nullopt;
    const std::optional<int> minutes = hours ? Number(time.substr(3, 2)) : std::nullopt;
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
      out.Fault = "提醒时间应为 HH:MM，如 09:00";
      return out;
    }
    day.RemindMinute = static_cast<int16_t>(*hours * 60 + *minutes);
  }
  out.Fault = ValidateOwnDay(day);
  return out;
}

int64_t LocalMinuteOf(const LocalReading& reading) {
  return int64_t{DaysFromCivil(reading.Day)} * 1440 + reading.MsOfDay / 60000;
}

int64_t MsUntilLocalMinute(const LocalReading& now, int64_t due) {
  const int64_t ms = (due - LocalMinuteOf(now)) * 60000 - now.MsOfDay % 60000;
  return std::clamp<int64_t>(ms, 1, kMsPerDay);
}

std::optional<int64_t> ParseRemindedUntil(std::string_view text) {
  int64_t value = 0;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (fault != std::errc{} || end != text.data() + text.size() || text.empty() || value < 0)
    return std::nullopt;
  return value;
}

std::string BadCopySuffix(int attempt) {
  return attempt <= 1 ? ".bad" : ".bad" + std::to_string(attempt);
}

std::string RefusedFileNotice(std::string_view path, std::string_view reason) {
  return "纪念日文件 " + std::string(path) + " 未被采用（" + std::string(reason) +
         "），本次从空白开始，原文件不会被覆盖。";
}

std::string KeptAsideNotice(std::string_view path) {
  return "原来的纪念日文件已另存为 " + std::string(path) + "。";
}

std::string SaveFailedNotice(std::string_view path, std::string_view reason) {
  return "纪念日未能保存到 " + std::string(path) + "（" + std::string(reason) +
         "），改动仍在程序中，原文件未动。";
}

std::string ChangedOutsideNotice(std::string_view path) {
  return "纪念日文件 " + std::string(path) + " 已在别处改动：已重新读取，再把这次改动存入。";
}

}  // namespace kelvo
