#pragma once
#include <cstdint>
#include <functional>

#include "calendar/date.h"

namespace kelvo {

inline constexpr int64_t kMsPerDay = 24 * 60 * 60 * 1000;

// What the wall clock reads at one instant: the local date and how far into
// it, in milliseconds (0 at midnight).
struct LocalReading {
  Date Day;
  int64_t MsOfDay = 0;
};

// The local time zone as a function: the reading at an instant given in
// milliseconds on the system's UTC scale. Daylight saving and every other
// change of the zone's offset live inside it; the Win32 layer converts with
// the system's current zone, the tests with zones of their own.
using LocalClock = std::function<LocalReading(int64_t utcMs)>;

// Milliseconds from `nowUtcMs` until the local date first differs from the
// date at `nowUtcMs`: the next local midnight, counted on the real clock so
// that a day whose clocks spring forward is shorter and one whose clocks go
// back is longer. Where the clocks jump over midnight (a zone that moves
// from 00:00 straight to 01:00), the jump itself. At least 1.
int64_t MsUntilNextLocalDate(int64_t nowUtcMs, const LocalClock& local);

}  // namespace kelvo
