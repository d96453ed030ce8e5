// days.txt: the one parser, its writer, and the rules a single day obeys.
#include <algorithm>
#include <array>
#include <random>
#include <unordered_set>

#include "calendar/civil_days.h"
#include "calendar/file_text.h"
#include "calendar/own_days.h"

namespace kelvo {
namespace {

constexpr std::string_view kFirstLine = "KELVO-DAYS 1";
constexpr std::string_view kLunarText = "农历";
constexpr std::string_view kGregorianText = "公历";
constexpr std::string_view kLeapText = "闰";
constexpr std::string_view kBirthdayText = "生日";
constexpr std::string_view kAnniversaryText = "纪念日";
constexpr size_t kMaxIdLength = 12;
constexpr int kMaxNameCharacters = 32;
constexpr int kMaxDaysBefore = 30;
constexpr int16_t kFirstOrigin = 1800;

// Exactly `digits` ASCII digits.
std::optional<int> ReadDigits(std::string_view text, size_t digits) {
  if (text.size() != digits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// 0, or 1 to 2 digits without a leading zero.
std::optional<int> ReadSmallNumber(std::string_view text) {
  if (text == "0") return 0;
  if (text.empty() || text.size() > 2 || text[0] == '0') return std::nullopt;
  return ReadDigits(text, text.size());
}

bool IsIdText(std::string_view id) {
  return !id.empty() && id.size() <= kMaxIdLength && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
  });
}

void AppendTwoDigits(int value, std::string& out) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

// The seven fields before the name and the name itself; empty when the line
// has fewer than eight fields.
std::optional<std::array<std::string_view, 8>> SplitFields(std::string_view line) {
  std::array<std::string_view, 8> fields;
  for (size_t k = 0; k < 7; ++k) {
    const size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    fields[k] = line.substr(0, space);
    line.remove_prefix(space + 1);
  }
  fields[7] = line;
  return fields;
}

// The fields of one line as a day, or the reason they are none; the rules a
// day obeys whatever wrote it are ValidateOwnDay's.
std::string ReadDay(std::string_view line, OwnDay& day) {
  const auto fields = SplitFields(line);
  if (!fields) return "不足八项（以单个空格分隔）";
  const auto& [id, calendar, date, origin, kind, remind, time, name] = *fields;
  if (!IsIdText(id)) return "编号须为1至12个小写字母或数字";
  day.Id = id;

  if (calendar != kLunarText && calendar != kGregorianText) return "历法须为农历或公历";
  day.Calendar = calendar == kLunarText ? OwnDayCalendar::Lunar : OwnDayCalendar::Gregorian;

  std::string_view monthDay = date;
  day.LeapMonth = monthDay.starts_with(kLeapText);
  if (day.LeapMonth) monthDay.remove_prefix(kLeapText.size());
  const std::optional<int> month = ReadDigits(monthDay.substr(0, 2), 2);
  const std::optional<int> dayOfMonth =
      monthDay.size() == 5 ? ReadDigits(monthDay.substr(3), 2) : std::nullopt;
  if (!month || !dayOfMonth || monthDay[2] != '-') return "日期须为MM-DD或闰MM-DD";
  day.Month = static_cast<int16_t>(*month);
  day.Day = static_cast<int16_t>(*dayOfMonth);

  if (origin != "-") {
    const std::optional<int> year = ReadDigits(origin, 4);
    if (!year) return "起始年须为四位数字或-";
    day.Origin = static_cast<int16_t>(*year);
  }

  if (kind != kBirthdayText && kind != kAnniversaryText) return "类别须为生日或纪念日";
  day.Kind = kind == kBirthdayText ? OwnDayKind::Birthday : OwnDayKind::Anniversary;

  if (remind != "-") {
    for (size_t start = 0;;) {
      const size_t comma = remind.find(',', start);
      const std::optional<int> before = ReadSmallNumber(remind.substr(start, comma - start));
      if (!before) return "提醒须为-或以逗号分隔的提前天数";
      day.RemindDaysBefore.push_back(static_cast<int16_t>(*before));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  if (time != "-") {
    const std::optional<int> hour = ReadDigits(time.substr(0, 2), 2);
    const std::optional<int> minute =
        time.size() == 5 ? ReadDigits(time.substr(3), 2) : std::nullopt;
    if (!hour || !minute || time[2] != ':' || *hour > 23 || *minute > 59) return "时间须为HH:MM或-";
    day.RemindMinute = static_cast<int16_t>(*hour * 60 + *minute);
  }
  day.Name = name;
  return ValidateOwnDay(day);
}

DaysParseResult Refuse(size_t line, std::string_view why) {
  return {{}, (line ? "第" + std::to_string(line) + "行：" : std::string()) + std::string(why)};
}

}  // namespace

std::string ValidateOwnDay(const OwnDay& day) {
  if (!IsIdText(day.Id)) return "编号须为1至12个小写字母或数字";
  if (day.Month < 1 || day.Month > 12) return "月份须为1至12";
  if (day.Calendar == OwnDayCalendar::Lunar) {
    if (day.Day < 1 || day.Day > 30) return "农历日须为初一至三十";
  } else {
    if (day.LeapMonth) return "公历没有闰月";
    // Any year's February has its 29th in a leap year such as 2000.
    if (day.Day < 1 || day.Day > civil::DaysInMonth(2000, day.Month))
      return "公历" + std::to_string(day.Month) + "月没有" + std::to_string(day.Day) + "日";
  }
  if (day.Origin != 0 && (day.Origin < kFirstOrigin || day.Origin > kLastOwnDayYear))
    return "起始年须为1800至2050";
  if (day.Kind != OwnDayKind::Birthday && day.Kind != OwnDayKind::Anniversary)
    return "类别须为生日或纪念日";
  for (size_t k = 0; k < day.RemindDaysBefore.size(); ++k) {
    const int16_t before = day.RemindDaysBefore[k];
    if (before < 0 || before > kMaxDaysBefore) return "提前天数须为0至30";
    if (std::find(day.RemindDaysBefore.begin(), day.RemindDaysBefore.begin() + k, before) !=
        day.RemindDaysBefore.begin() + k)
      return "提前天数重复";
  }
  if (day.RemindDaysBefore.empty() != (day.RemindMinute < 0))
    return "提醒与时间须同时给出或同时为-";
  if (day.RemindMinute >= 24 * 60) return "时间须为00:00至23:59";
  const int characters = TextCharacters(day.Name);
  if (characters < 1 || characters > kMaxNameCharacters || day.Name.starts_with(' ') ||
      day.Name.ends_with(' '))
    return "名称须为1至32个字符，无控制字符，首尾无空格";
  return {};
}

DaysParseResult ParseDaysFile(std::string_view bytes) {
  if (bytes.size() > kMaxDaysFileBytes) return Refuse(0, "文件大于256 KiB");
  const std::vector<std::string_view> lines = FileLines(bytes);
  if (lines.empty() || lines[0] != kFirstLine) return Refuse(1, "不是“KELVO-DAYS 1”");
  if (lines.size() - 1 > kMaxOwnDays) return Refuse(kMaxOwnDays + 2, "多于1000个日子");
  DaysParseResult result;
  result.Days.reserve(lines.size() - 1);
  std::unordered_set<std::string_view> ids;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) return Refuse(i + 1, "空行");
    OwnDay day;
    const std::string fault = ReadDay(lines[i], day);
    if (!fault.empty()) return Refuse(i + 1, fault);
    if (!ids.insert(lines[i].substr(0, day.Id.size())).second)
      return Refuse(i + 1, "编号" + day.Id + "重复");
    result.Days.push_back(std::move(day));
  }
  return result;
}

std::string FormatDaysFile(const std::vector<OwnDay>& days) {
  std::string out(kFirstLine);
  out += '\n';
  for (const OwnDay& day : days) {
    out.append(day.Id).append(" ");
    out.append(day.Calendar == OwnDayCalendar::Lunar ? kLunarText : kGregorianText).append(" ");
    if (day.LeapMonth) out.append(kLeapText);
    AppendTwoDigits(day.Month, out);
    out += '-';
    AppendTwoDigits(day.Day, out);
    out.append(" ").append(day.Origin ? std::to_string(day.Origin) : "-").append(" ");
    out.append(day.Kind == OwnDayKind::Birthday ? kBirthdayText : kAnniversaryText).append(" ");
    for (size_t k = 0; k < day.RemindDaysBefore.size(); ++k)
      out.append(k ? "," : "").append(std::to_string(day.RemindDaysBefore[k]));
    if (day.RemindDaysBefore.empty()) out += '-';
    out += ' ';
    if (day.RemindMinute < 0) {
      out += '-';
    } else {
      AppendTwoDigits(day.RemindMinute / 60, out);
      out += ':';
      AppendTwoDigits(day.RemindMinute % 60, out);
    }
    out.append(" ").append(day.Name).append("\n");
  }
  return out;
}

std::string NewOwnDayId(const std::vector<OwnDay>& days) {
  // Random rather than counted, so a deleted day's id (and the exported
  // events named by it) is not handed to a new day.
  constexpr std::string_view kAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device source;
  std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
  for (;;) {
    std::string id(8, '0');
    for (char& c : id) c = kAlphabet[pick(source)];
    if (std::none_of(days.begin(), days.end(), [&](const OwnDay& d) { return d.Id == id; }))
      return id;
  }
}

}  // namespace kelvo
