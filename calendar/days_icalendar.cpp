// The own days as an RFC 5545 iCalendar file: one all-day event per
// occurrence, since lunar recurrence has no RRULE.
#include <algorithm>
#include <cstdlib>

#include "calendar/own_days.h"

namespace kelvo {
namespace {

constexpr size_t kMaxLineOctets = 75;

// A TEXT value: backslash, semicolon and comma escaped, line ends as \n.
std::string EscapeText(std::string_view text) {
  std::string escaped;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' || c == ';' || c == ',') {
      escaped.append({'\\', c});
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      escaped.append("\\n");
    } else {
      escaped += c;
    }
  }
  return escaped;
}

// Appends one content line folded at 75 octets, never inside a UTF-8
// character: a continuation line starts with a space, which counts.
void AppendLine(std::string_view line, std::string& out) {
  size_t room = kMaxLineOctets;
  while (line.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    if (cut == 0) cut = room;  // not UTF-8 after all: cut anywhere rather than loop
    out.append(line.substr(0, cut)).append("\r\n ");
    line.remove_prefix(cut);
    room = kMaxLineOctets - 1;
  }
  out.append(line).append("\r\n");
}

std::string DateValue(Date date) {
  std::string text = FormatIsoDate(date);
  text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
  return text;
}

// The alarm's offset from the all-day event's start (midnight): `before`
// days earlier at `minute` of that day, e.g. -P2DT15H for three days before
// at 09:00, PT9H for 09:00 on the day.
std::string Trigger(int before, int minute) {
  const int offset = minute - before * 24 * 60;
  if (offset == 0) return "PT0S";
  const int size = std::abs(offset);
  std::string text = offset < 0 ? "-P" : "P";
  if (size >= 24 * 60) text.append(std::to_string(size / (24 * 60))).append("D");
  const int hours = size % (24 * 60) / 60, minutes = size % 60;
  if (hours || minutes) text += 'T';
  if (hours) text.append(std::to_string(hours)).append("H");
  if (minutes) text.append(std::to_string(minutes)).append("M");
  return text;
}

}  // namespace

std::string WriteDaysICalendar(const std::vector<OwnDay>& days, int16_t firstYear, int yearCount,
                               std::string_view stamp) {
  std::string out;
  AppendLine("BEGIN:VCALENDAR", out);
  AppendLine("VERSION:2.0", out);
  AppendLine("PRODID:-//Kelvo//Kelvo日历//ZH", out);
  AppendLine("CALSCALE:GREGORIAN", out);
  // Clamped first, so that no count can overflow the sum.
  const int span = kLastOwnDayYear - kFirstOwnDayYear + 1;
  const int lastYear =
      std::min<int>(firstYear + std::clamp(yearCount, 0, span) - 1, kLastOwnDayYear);
  if (lastYear >= firstYear) {
    const std::vector<OwnDayHit> hits =
        OwnDaysBetween(days, Date{firstYear, 1, 1}, Date{static_cast<int16_t>(lastYear), 12, 31});
    const std::string dtstamp = "DTSTAMP:" + std::string(stamp);
    for (const OwnDayHit& hit : hits) {
      const OwnDay& day = days[hit.Index];
      const std::string summary = EscapeText(OwnDayPanelLine(day, hit.Falls));
      AppendLine("BEGIN:VEVENT", out);
      // The id and the calendar's year name the occurrence, so a second
      // export updates what the first imported.
      AppendLine("UID:" + day.Id + "-" + std::to_string(hit.Falls.Year) + "@days.kelvo-calendar",
                 out);
      AppendLine(dtstamp, out);
      AppendLine("DTSTART;VALUE=DATE:" + DateValue(hit.When), out);
      AppendLine("DTEND;VALUE=DATE:" + DateValue(AddDays(hit.When, 1)), out);
      AppendLine("SUMMARY:" + summary, out);
      AppendLine("DESCRIPTION:" + EscapeText(RuleInWords(day)), out);
      AppendLine("TRANSP:TRANSPARENT", out);
      for (const int16_t before : day.RemindDaysBefore) {
        AppendLine("BEGIN:VALARM", out);
        AppendLine("ACTION:DISPLAY", out);
        AppendLine("DESCRIPTION:" + summary, out);
        AppendLine("TRIGGER:" + Trigger(before, day.RemindMinute), out);
        AppendLine("END:VALARM", out);
      }
      AppendLine("END:VEVENT", out);
    }
  }
  AppendLine("END:VCALENDAR", out);
  return out;
}

}  // namespace kelvo
