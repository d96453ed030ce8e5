// The holiday file, as its server or the program's store may hand it over:
// kelvo-publish's fault text is empty exactly when the program accepts the
// file, and one line otherwise; an accepted file is ordered and consistent,
// writes back into a file that reads the same, and marks only the years it
// declares.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/holiday_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<HolidayFile> file = ParseHolidayFile(bytes);
  const std::string fault = HolidayFileFault(bytes);
  if (file.has_value() != fault.empty() || fault.find('\n') != std::string::npos) __builtin_trap();
  if (!file) return 0;
  if (AcceptHolidayFile(bytes, file->Serial) || AcceptHolidayFile(bytes, file->Serial - 1) != file)
    __builtin_trap();

  std::string written = "KELVO-HOLIDAYS 1\nSERIAL " + std::to_string(file->Serial) + "\n";
  for (size_t i = 0; i < file->Years.size(); ++i) {
    if (i > 0 && file->Years[i - 1] >= file->Years[i]) __builtin_trap();
    written += "YEAR " + std::to_string(file->Years[i]) + "\n";
  }
  const HolidaySchedule schedule(*file);
  for (size_t i = 0; i < file->Days.size(); ++i) {
    const HolidayFileDay& day = file->Days[i];
    if ((i > 0 && file->Days[i - 1].Day >= day.Day) || !IsValidDate(day.Day) ||
        (day.Mark == HolidayMark::Workday && WeekdayFromMonday(day.Day) < 5))
      __builtin_trap();
    const Holiday held = schedule.Of(day.Day);
    if (held.Mark != day.Mark || held.Festival != day.Name) __builtin_trap();
    written += FormatIsoDate(day.Day) + (day.Mark == HolidayMark::DayOff ? " 休 " : " 班 ") +
               day.Name + "\r\n";
  }
  if (ParseHolidayFile(written) != file) __builtin_trap();

  // A declared year is marked on its listed days only; the year after the
  // last declared one keeps the built-in table's marks.
  size_t marked = 0;
  for (const int16_t year : file->Years) {
    for (Date date{year, 1, 1}; date.Year == year; date = AddDays(date, 1))
      marked += schedule.Of(date).Mark != HolidayMark::None;
  }
  const int16_t next = static_cast<int16_t>(file->Years.back() + 1);
  for (Date date{next, 1, 1}; date.Year == next; date = AddDays(date, 1)) {
    if (schedule.Of(date).Mark != HolidayOf(date).Mark) __builtin_trap();
  }
  if (marked != file->Days.size()) __builtin_trap();
  return 0;
}
