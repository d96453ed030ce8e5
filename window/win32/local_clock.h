#pragma once
#include <cstdint>

#include "window/local_midnight.h"

namespace kelvo {

// The system clock now, in milliseconds on the UTC scale that FILETIME
// counts (from 1601).
int64_t SystemNowMs();
// What the wall clock of the system's current time zone reads at a UTC
// instant, with the daylight-saving rule in force then.
LocalReading LocalReadingAt(int64_t utcMs);

}  // namespace kelvo
