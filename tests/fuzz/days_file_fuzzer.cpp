// days.txt as the user's profile may hold it: the fault is empty exactly
// when the file is accepted, and one line otherwise; an accepted file writes
// back into a file that reads the same, every day falls only within
// 1950..2050 (searched a little past both ends), and its iCalendar lines
// stay within 75 octets.
#include <string>

#include "calendar/own_days.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvo;
  const DaysParseResult parsed = ParseDaysFile(fuzz::Text(data, size));
  fuzz::TrapIf(parsed.Fault.find('\n') != std::string::npos ||
               (!parsed.Accepted() && !parsed.Days.empty()));
  if (!parsed.Accepted()) return 0;
  fuzz::TrapIf(ParseDaysFile(FormatDaysFile(parsed.Days)).Days != parsed.Days);
  // Each day's whole span once, for the first few (the span is the same for all).
  for (size_t k = 0; k < parsed.Days.size() && k < 4; ++k) {
    const OwnDay& day = parsed.Days[k];
    fuzz::TrapIf(!ValidateOwnDay(day).empty());
    const std::vector<Occurrence> all = OccurrencesBetween(day, {1940, 1, 1}, {2060, 12, 31});
    for (const Occurrence& o : all)
      fuzz::TrapIf(o.When < Date{1950, 1, 1} || o.When > Date{2050, 12, 31} || o.Count < 0);
    fuzz::TrapIf(all.size() < 100);  // once a year, 1950 to 2050 (lunar 1949 may add one)
  }
  const std::string ics = WriteDaysICalendar(parsed.Days, 2026, 1, "20261207T083000Z");
  for (const std::string_view line : fuzz::Split(ics, '\n'))
    fuzz::TrapIf(line.size() > 76 || !line.ends_with('\r'));
  return 0;
}
