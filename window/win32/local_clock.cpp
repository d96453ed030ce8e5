#include "window/win32/local_clock.h"

#include <windows.h>

namespace kelvo {
namespace {

constexpr int64_t kFileTimeUnitsPerMs = 10000;  // FILETIME counts 100 ns

}  // namespace

int64_t SystemNowMs() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const ULARGE_INTEGER units{{now.dwLowDateTime, now.dwHighDateTime}};
  return static_cast<int64_t>(units.QuadPart / kFileTimeUnitsPerMs);
}

LocalReading LocalReadingAt(int64_t utcMs) {
  ULARGE_INTEGER units{};
  units.QuadPart = static_cast<uint64_t>(utcMs) * kFileTimeUnitsPerMs;
  const FILETIME instant{units.LowPart, units.HighPart};
  SYSTEMTIME utc{}, local{};
  // The conversion with the zone's own rules, not today's offset: across a
  // daylight-saving change the two differ by the change.
  if (!FileTimeToSystemTime(&instant, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    local = utc;  // no zone to be had: the date then follows UTC
  }
  const int64_t seconds = (local.wHour * 60 + local.wMinute) * 60 + local.wSecond;
  return {{static_cast<int16_t>(local.wYear), static_cast<int16_t>(local.wMonth),
           static_cast<int16_t>(local.wDay)},
          seconds * 1000 + local.wMilliseconds};
}

}  // namespace kelvo
