#pragma once
// Compile-time Gregorian day arithmetic, shared by date.cpp and by the
// tables precomputed at compile time (solar terms, lunar year starts).
#include <cstdint>

#include "calendar/date.h"

namespace kelvo::civil {

constexpr bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int year, int month) {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (era arithmetic, so it
// holds for every year, negative ones included).
constexpr int32_t DaysFromCivil(int year, int month, int day) {
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;                                             // 0..399
  const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // 0..365
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

struct YearMonthDay {
  int Year;
  int Month;
  int Day;
};

// Inverse of DaysFromCivil. Works in 64 bits so that no day number, however
// far out, overflows.
constexpr YearMonthDay CivilFromDays(int64_t days) {
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

// 0 = Monday ... 6 = Sunday (1970-01-01 was a Thursday).
constexpr int WeekdayFromMonday(int64_t days) {
  const int r = static_cast<int>((days + 3) % 7);
  return r < 0 ? r + 7 : r;
}

}  // namespace kelvo::civil
