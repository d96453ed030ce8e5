#include "window/local_midnight.h"

namespace kelvo {

int64_t MsUntilNextLocalDate(int64_t nowUtcMs, const LocalClock& local) {
  const LocalReading now = local(nowUtcMs);
  // `today` is a moment known to read today's date; `next` the guess for the
  // first moment that does not: the wall clock's own distance to midnight.
  int64_t today = nowUtcMs;
  int64_t next = nowUtcMs + (kMsPerDay - now.MsOfDay);
  // On a day whose clocks went back the guess is still today: take the
  // wall clock's distance again from there. Two offset changes within one
  // day are the most any zone has had; a few rounds suffice.
  for (int round = 0;; ++round) {
    const LocalReading reading = local(next);
    if (reading.Day != now.Day) {
      if (reading.MsOfDay == 0) return next - nowUtcMs;  // midnight exactly
      break;
    }
    if (round == 3) return next - nowUtcMs;  // a clock beyond reason: look again then
    today = next;
    next += kMsPerDay - reading.MsOfDay;
  }
  // The guess overshot: the clocks sprang forward before midnight, or over
  // it. The date changes somewhere between; halve the span down to 1 ms.
  while (next - today > 1) {
    const int64_t middle = today + (next - today) / 2;
    (local(middle).Day == now.Day ? today : next) = middle;
  }
  return next - nowUtcMs;
}

}  // namespace kelvo
