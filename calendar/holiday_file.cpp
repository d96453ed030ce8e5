#include "calendar/holiday_file.h"

#include <algorithm>

#include "calendar/file_text.h"

namespace kelvo {
namespace {

constexpr std::string_view kFirstLine = "KELVO-HOLIDAYS 1";
constexpr std::string_view kSerialPrefix = "SERIAL ";
constexpr std::string_view kYearPrefix = "YEAR ";
constexpr std::string_view kDayOffText = "休";
constexpr std::string_view kWorkdayText = "班";
constexpr int kMaxNameCharacters = 16;

// Decimal digits only, no leading zero, at most `maxDigits`.
std::optional<uint64_t> ReadPlainNumber(std::string_view text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits || text[0] == '0') return std::nullopt;
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

struct Verdict {
  std::optional<HolidayFile> file;
  std::string fault;
};

Verdict Refuse(size_t line, std::string_view why) {
  return {std::nullopt,
          (line ? "line " + std::to_string(line) + ": " : std::string()) + std::string(why)};
}

Verdict Judge(std::string_view bytes) {
  if (bytes.size() > kMaxHolidayFileBytes) return Refuse(0, "larger than 64 KiB");
  const std::vector<std::string_view> lines = FileLines(bytes);
  if (lines.empty() || lines[0] != kFirstLine) return Refuse(1, "not \"KELVO-HOLIDAYS 1\"");
  HolidayFile file;
  const std::optional<uint64_t> serial =
      lines.size() > 1 && lines[1].starts_with(kSerialPrefix)
          ? ReadPlainNumber(lines[1].substr(kSerialPrefix.size()), 18)
          : std::nullopt;
  if (!serial) return Refuse(2, "not \"SERIAL n\" with n of 1 to 18 digits");
  file.Serial = *serial;

  std::vector<size_t> dayLines;  // where each day was read, for the checks below
  for (size_t i = 2; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const size_t number = i + 1;
    if (line.empty()) return Refuse(number, "empty line");
    if (line.starts_with(kYearPrefix)) {
      const std::optional<uint64_t> year = ReadPlainNumber(line.substr(kYearPrefix.size()), 4);
      if (!year || *year < kFirstHolidayFileYear || *year > kLastHolidayFileYear)
        return Refuse(number, "not \"YEAR yyyy\" with a year from 1950 to 2050");
      file.Years.push_back(static_cast<int16_t>(*year));
      continue;
    }
    const size_t markEnd = line.find(' ', 11);
    const std::optional<Date> day = ParseIsoDate(line.substr(0, 10));
    if (!day || line.size() < 11 || line[10] != ' ' || markEnd == std::string_view::npos)
      return Refuse(number, "not \"YEAR yyyy\" or \"YYYY-MM-DD 休|班 NAME\" with a real date");
    const std::string_view mark = line.substr(11, markEnd - 11);
    const std::string_view name = line.substr(markEnd + 1);
    if (mark != kDayOffText && mark != kWorkdayText) return Refuse(number, "mark is not 休 or 班");
    const int characters = TextCharacters(name);
    if (characters < 1 || characters > kMaxNameCharacters || name.starts_with(' '))
      return Refuse(number, "name is not 1 to 16 characters of text without control characters");
    const HolidayMark holiday = mark == kDayOffText ? HolidayMark::DayOff : HolidayMark::Workday;
    if (holiday == HolidayMark::Workday && WeekdayFromMonday(*day) < 5)
      return Refuse(number, "班 on a weekday");
    file.Days.push_back({*day, holiday, std::string(name)});
    dayLines.push_back(number);
  }
  if (file.Years.empty()) return Refuse(0, "no YEAR line");

  std::sort(file.Years.begin(), file.Years.end());
  file.Years.erase(std::unique(file.Years.begin(), file.Years.end()), file.Years.end());
  for (size_t k = 0; k < file.Days.size(); ++k) {
    if (!std::binary_search(file.Years.begin(), file.Years.end(), file.Days[k].Day.Year))
      return Refuse(dayLines[k], "date outside the declared years");
  }
  std::vector<size_t> order(file.Days.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return file.Days[a].Day < file.Days[b].Day; });
  std::vector<HolidayFileDay> sorted;
  sorted.reserve(order.size());
  for (const size_t k : order) {
    if (!sorted.empty() && sorted.back().Day == file.Days[k].Day)
      return Refuse(dayLines[k], "date comes twice");
    sorted.push_back(std::move(file.Days[k]));
  }
  file.Days = std::move(sorted);
  return {std::move(file), {}};
}

}  // namespace

std::optional<HolidayFile> ParseHolidayFile(std::string_view bytes) {
  return Judge(bytes).file;
}

std::string HolidayFileFault(std::string_view bytes) {
  return Judge(bytes).fault;
}

std::optional<HolidayFile> AcceptHolidayFile(std::string_view bytes, uint64_t heldSerial) {
  std::optional<HolidayFile> file = ParseHolidayFile(bytes);
  if (file && file->Serial <= heldSerial) return std::nullopt;
  return file;
}

HolidaySchedule::HolidaySchedule(HolidayFile file)
    : file_(std::make_shared<const HolidayFile>(std::move(file))) {}

Holiday HolidaySchedule::Of(Date date) const {
  if (!file_ || !std::binary_search(file_->Years.begin(), file_->Years.end(), date.Year))
    return HolidayOf(date);
  const auto found =
      std::lower_bound(file_->Days.begin(), file_->Days.end(), date,
                       [](const HolidayFileDay& day, const Date& d) { return day.Day < d; });
  if (found == file_->Days.end() || found->Day != date) return {};
  return {found->Mark, found->Name};
}

}  // namespace kelvo
