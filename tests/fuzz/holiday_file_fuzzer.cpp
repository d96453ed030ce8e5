// The holiday file, as its server or the program's store may hand it over:
// kelvo-publish's fault text is empty exactly when the program accepts the
// file, and one line otherwise; an accepted file is ordered and consistent,
// writes back into a file that reads the same, and marks only the years it
// declares.
#include <algorithm>
#include <string>

#include "calendar/holiday_file.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const std::string_view bytes = fuzz::Text(data, size);
  const std::optional<HolidayFile> file = ParseHolidayFile(bytes);
  const std::string fault = HolidayFileFault(bytes);
  fuzz::TrapIf(file.has_value() != fault.empty() || fault.find('\n') != std::string::npos);
  if (!file) return 0;
  fuzz::TrapIf(AcceptHolidayFile(bytes, file->Serial) ||
               AcceptHolidayFile(bytes, file->Serial - 1) != file);

  std::string written = "KELVO-HOLIDAYS 1\nSERIAL " + std::to_string(file->Serial) + "\n";
  for (size_t i = 0; i < file->Years.size(); ++i) {
    fuzz::TrapIf(i > 0 && file->Years[i - 1] >= file->Years[i]);
    written += "YEAR " + std::to_string(file->Years[i]) + "\n";
  }
  const HolidaySchedule schedule(*file);
  for (size_t i = 0; i < file->Days.size(); ++i) {
    const HolidayFileDay& day = file->Days[i];
    fuzz::TrapIf((i > 0 && file->Days[i - 1].Day >= day.Day) || !IsValidDate(day.Day) ||
                 (day.Mark == HolidayMark::Workday && WeekdayFromMonday(day.Day) < 5));
    const Holiday held = schedule.Of(day.Day);
    fuzz::TrapIf(held.Mark != day.Mark || held.Festival != day.Name);
    written += FormatIsoDate(day.Day) + (day.Mark == HolidayMark::DayOff ? " 休 " : " 班 ") +
               day.Name + "\r\n";
  }
  fuzz::TrapIf(ParseHolidayFile(written) != file);

  // A declared year is marked on its listed days only; the year after the
  // last declared one keeps the built-in table's marks.
  size_t marked = 0;
  for (const int16_t year : file->Years) {
    for (Date date{year, 1, 1}; date.Year == year; date = AddDays(date, 1))
      marked += schedule.Of(date).Mark != HolidayMark::None;
  }
  const int16_t next = static_cast<int16_t>(file->Years.back() + 1);
  for (Date date{next, 1, 1}; date.Year == next; date = AddDays(date, 1)) {
    fuzz::TrapIf(schedule.Of(date).Mark != HolidayOf(date).Mark);
  }
  fuzz::TrapIf(marked != file->Days.size());
  return 0;
}
